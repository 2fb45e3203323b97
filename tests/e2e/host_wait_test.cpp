// The host lets the engine's idle threads sleep: the thread runtime reads its wait policy once, when it
// is loaded, so the host must have set the policy before the engine library (and the runtime with it)
// is loaded; a policy the user set stands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "e2e/hostrun.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

// Sets an environment variable for the life of the object, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The runtime's settings as it shows them when it is loaded (OMP_DISPLAY_ENV), from a run of the
// example through the host.
std::string runtimeSettings() {
    WorkDir dir;
    dir.write("four.inp", WorkDir::readPath(std::string(KALDO_EXAMPLES_DIR) + "/four-pile-group.inp"));
    ScopedEnv display("OMP_DISPLAY_ENV", "VERBOSE");
    const HostOutcome run = runHostIn(dir, "four.inp");
    EXPECT_EQ(run.exit, 0) << run.out;
    return run.out;
}

TEST(HostWaitPolicy, IdleThreadsSleepUnlessTheUserChoseOtherwise) {
    {
        // Passive: a waiting thread does not spin at all. The runtime's own default spins 300000 times.
        ScopedEnv policy("OMP_WAIT_POLICY", nullptr);
        ScopedEnv spin("GOMP_SPINCOUNT", nullptr);
        const std::string shown = runtimeSettings();
        EXPECT_NE(shown.find("GOMP_SPINCOUNT = '0'"), std::string::npos) << shown;
    }
    {
        ScopedEnv policy("OMP_WAIT_POLICY", "ACTIVE");
        const std::string shown = runtimeSettings();
        EXPECT_NE(shown.find("OMP_WAIT_POLICY = 'ACTIVE'"), std::string::npos) << shown;
    }
}

}  // namespace
}  // namespace kaldo::test
