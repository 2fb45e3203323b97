// The slab program's driver: the model is read and checked, then the load is applied in steps of a
// pseudo-time from TINI to TEND, each step solved by equilibrium iterations with the tangent stiffness
// of the slab on its piles; a step that does not converge is cut in half down to DTMIN.
#include <cmath>
#include <filesystem>
#include <fstream>

#include "flexcap/slab.h"
#include "io/format.h"
#include "model/modelinput.h"
#include "services/status.h"

namespace kaldo::slab {

namespace {

using io::E;
using io::F;
using io::I;

int statusOf(io::InputError::Kind kind) {
    switch (kind) {
        case io::InputError::Malformed: return ST_MALFORMED;
        case io::InputError::RealForInteger: return ST_REALFORINT;
        case io::InputError::EarlyEnd: return ST_EARLYEND;
        case io::InputError::Capacity: return ST_CAPACITY;
        case io::InputError::Index: return ST_INDEX;
        case io::InputError::BadValue: return ST_BADVALUE;
    }
    return ST_MALFORMED;
}

void nodeRows(io::Unit& t, const char* title, const std::vector<double>& v, const std::vector<double>* plus, int npoin) {
    t.line() << title;
    for (int n = 1; n <= npoin; ++n) {
        auto l = t.line();
        l << I(5, n);
        for (int f = 0; f < 6; ++f) {
            const size_t k = static_cast<size_t>(6 * (n - 1) + f);
            l << E{13, 5, plus ? v[k] + (*plus)[k] : v[k]};
        }
    }
}

// The stepping of a model that has been read and checked.
void step(Model& m, Files& files, PileLink& piles, Outcome& out) {
    Control& c = m.c;
    const Gauss g = SLBGAUSS(c.NGAUS);
    const size_t ntot = static_cast<size_t>(6 * c.NPOIN);
    std::vector<double> asdis(ntot, 0.0), tsdis(ntot, 0.0), dsdis(ntot, 0.0), force(ntot, 0.0), utotal(ntot, 0.0);
    ElementStore store;
    store.size(m);

    c.DTCUR = c.DT;
    c.TCUR = c.TINI + c.DT;
    c.KSTEP = 1;
    c.TOLSL = TOLSLAB;
    out.lastTime = c.TINI;
    bool stopped = false;
    while (!(c.TCUR > c.TEND)) {
        for (io::Unit* u : {&files.convergence, &files.trace}) {
            u->blankLines(1);
            u->line() << "STEP " << I(5, c.KSTEP) << "   TCUR   =" << F{10, 4, c.TCUR} << "  DT = " << F{10, 4, c.DTCUR};
        }
        // Soil movement along the piles grows with the load, as in the rigid-cap solution.
        SMOV.SMFACT = (c.TEND - c.TINI) == 0.0 ? 1.0 : (c.TCUR - c.TINI) / (c.TEND - c.TINI);
        c.ITER = 0;
        std::fill(tsdis.begin(), tsdis.end(), 0.0);
        bool converged = false;
        for (;;) {
            std::fill(store.rhs.begin(), store.rhs.end(), 0.0);
            std::fill(dsdis.begin(), dsdis.end(), 0.0);
            for (size_t k = 0; k < ntot; ++k) utotal[k] = asdis[k] + tsdis[k];
            SLBELSTF(m, g, utotal, store, piles, &files);
            files.trace.free() << "ITER = " << c.ITER << c.KSTEP;
            SLBLOADV(m, g, store);
            std::fill(force.begin(), force.end(), 0.0);
            SLBASSMV(m, store, force);
            double rhs = 0.0, rrhs = 0.0;
            SLBNORM6(force, rhs, rrhs, static_cast<int>(ntot));
            std::fill(force.begin(), force.end(), 0.0);
            out.front = std::max(out.front, SLBFRONT(m, store, utotal, dsdis, force, &files.listing));
            ++out.iterations;
            if (files.trace.isOpen()) {
                nodeRows(files.trace, "DSDIS", dsdis, nullptr, c.NPOIN);
                for (size_t k = 0; k < ntot; ++k) tsdis[k] += dsdis[k];
                nodeRows(files.trace, "TSDIS", tsdis, nullptr, c.NPOIN);
                nodeRows(files.trace, "ASDIS + TSDIS", asdis, &tsdis, c.NPOIN);
            } else {
                for (size_t k = 0; k < ntot; ++k) tsdis[k] += dsdis[k];
            }
            double D = 0, R = 0, U = 0, RU = 0;
            SLBNORM6(dsdis, D, R, static_cast<int>(ntot));
            SLBNORM6(tsdis, U, RU, static_cast<int>(ntot));
            ++c.ITER;
            const double err1 = U != 0.0 ? D / U : D;
            const double err2 = RU != 0.0 ? R / RU : R;
            for (io::Unit* u : {&files.convergence, &files.trace}) {
                u->line() << "ITER =" << I(5, c.ITER) << " ERR1 =" << E{11, 4, err1} << " D = " << E{11, 4, D} << " U ="
                          << E{11, 4, U} << " RHS = " << E{11, 4, rhs};
                u->line() << "      " << io::X{5} << " ERR2 =" << E{11, 4, err2} << " R = " << E{11, 4, R} << " RU="
                          << E{11, 4, RU} << " RRHS= " << E{11, 4, rrhs};
            }
            // The first iteration of an attempt is never accepted.
            if (c.ITER == 1) continue;
            const bool trans = c.TOLSL >= err1 || D <= FLOOR || U <= FLOOR || rhs <= FLOOR;
            const bool rot = c.TOLSL >= err2 || R <= FLOOR || RU <= FLOOR || rrhs <= FLOOR;
            if (trans && rot) {
                converged = true;
                break;
            }
            if (c.ITER > c.MAXITER) break;
        }
        if (converged) {
            for (size_t k = 0; k < ntot; ++k) asdis[k] += tsdis[k];
            SLBDISPL(m, asdis, force, files.listing);
            SLBSTRES(m, store, asdis, files);
            out.lastTime = c.TCUR;
            ++out.steps;
            const double before = c.TCUR;
            c.TCUR += c.DTCUR;
            if (c.TCUR > c.TEND && before < c.TEND) c.TCUR = c.TEND;
            ++c.KSTEP;
            continue;
        }
        // Cut the step: half the increment after the last converged time.
        c.DTCUR /= 2.0;
        if (c.DTMIN > c.DTCUR) {
            files.convergence.line() << "error, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED";
            stopped = true;
            break;
        }
        c.TCUR -= c.DTCUR;
    }
    out.reachedEnd = !stopped;
    if (c.KSTEP > 1) SLBPILEF(m, asdis, piles, files);
}

}  // namespace

Outcome runSlab(io::LineSource& in, Files& files, PileLink& piles) {
    Outcome out;
    Model m;
    try {
        try {
            readSlab(in, m, files);
            step(m, files, piles, out);
        } catch (const io::InputError& e) {
            throw SlabStop(statusOf(e.kind), e.what());
        }
    } catch (const SlabStop& s) {
        out.status = s.status;
        out.message = s.what();
        if (files.listing.isOpen()) {
            for (const std::string& l : s.listing) files.listing.line() << l;
            files.listing.blankLines(1);
            files.listing.line() << " *** THE SLAB ANALYSIS STOPPED: " << out.message;
        }
        return out;
    }
    if (files.results.isOpen()) files.results.line() << "END_STEP_DATA";
    const std::string end = out.reachedEnd
                                ? "THE SLAB ANALYSIS REACHED ITS END TIME " + io::fmtF(10, 4, m.c.TEND)
                                : "THE SLAB ANALYSIS STOPPED SHORT: A STEP CUT BELOW THE MINIMUM INCREMENT AT TIME " +
                                      io::fmtF(10, 4, m.c.TCUR) + "; LAST CONVERGED TIME " + io::fmtF(10, 4, out.lastTime);
    for (io::Unit* u : {&files.listing, &files.convergence}) {
        if (!u->isOpen()) continue;
        u->blankLines(1);
        u->line() << " " << end;
    }
    return out;
}

SlabPaths slabPaths(const std::string& inputPath) {
    const std::filesystem::path p(inputPath);
    // An input file that carries one of these extensions itself keeps it, and the slab files add theirs.
    bool ours = false;
    for (const char* ext : {".slab", ".slabkw", ".slablst", ".slabres", ".slabcnv", ".slabtrc"})
        if (p.extension() == ext) ours = true;
    auto with = [&](const char* ext) {
        return ours ? p.string() + ext : std::filesystem::path(p).replace_extension(ext).string();
    };
    return {with(".slab"), with(".slabkw"), with(".slablst"), with(".slabres"), with(".slabcnv"), with(".slabtrc")};
}

Outcome SLBMAIN(PileLink& piles) {
    Outcome out;
    std::vector<std::string> lines;
    {
        std::ifstream list("gslab.dat");
        std::string l;
        while (lines.size() < 5 && std::getline(list, l)) {
            while (!l.empty() && (l.back() == ' ' || l.back() == '\r')) l.pop_back();
            lines.push_back(l);
        }
    }
    if (lines.size() < 5) {
        out.status = ST_NAMES;
        out.message = "THE SLAB FILE LIST gslab.dat IS MISSING OR HAS FEWER THAN 5 LINES";
        return out;
    }
    Files files;
    const std::string trace = std::filesystem::path(lines[2]).replace_extension(".slabtrc").string();
    const std::pair<io::Unit*, const std::string*> outputs[] = {
        {&files.listing, &lines[2]}, {&files.results, &lines[3]}, {&files.convergence, &lines[4]}, {&files.trace, &trace}};
    for (const auto& [u, path] : outputs) {
        if (!u->open(*path, io::Mode::Write, io::Form::Text, true)) {
            out.status = ST_FILEOPEN;
            out.message = "THE SLAB FILE " + *path + " CANNOT BE OPENED";
            return out;
        }
    }
    io::Unit model(5);
    if (!model.open(lines[1], io::Mode::Read)) {
        out.status = ST_NOINPUT;
        out.message = "THE SLAB INPUT FILE " + lines[1] + " IS MISSING OR UNREADABLE (FLXCAP = 2 WRITES IT)";
        files.listing.line() << " *** THE SLAB ANALYSIS STOPPED: " << out.message;
        return out;
    }
    out = runSlab(model, files, piles);
    return out;
}

}  // namespace kaldo::slab
