# Two entry points for a fresh checkout; both configure and build as needed.
#   make example   builds Kaldo and runs an example from examples/
#   make test      builds the checked (sanitizer) build and runs every test
JOBS ?= $(shell nproc)

.PHONY: example example-flexcap test build build-test clean

build:
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

example: build
	build/kaldo examples/four-pile-group.inp

example-flexcap: build
	build/kaldo examples/flexible-cap.inp

build-test:
	cmake -S . -B build-test -G Ninja -DKALDO_TEST_BUILD=ON
	cmake --build build-test -j $(JOBS)

test: build-test
	ctest --test-dir build-test --output-on-failure -j $(JOBS)

clean:
	rm -rf build build-test
