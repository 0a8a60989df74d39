# wms-rights: the two commands a user needs, and the benchmarks.
#   make run    install what is missing, build, open the demo host on the sample database
#   make test   install what is missing, build, run every test (SQLite and PostgreSQL)
#   make bench  build and run the benchmarks (SQLite and a throwaway PostgreSQL server)
#   make package  build the .deb of the module's libraries, headers and CMake package (in $(BUILD))
BUILD ?= build
JOBS ?= 2
# DB: a database other than the sample (an existing SQLite file or a postgresql:// URL).
DB ?=

.PHONY: deps configure build run test bench package clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWMS_BUILD_TESTS=ON -DWMS_BUILD_BENCH=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# ARGS: more options of the demo host, e.g. ARGS="--operator E001 --password 123".
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target wms-rights
	$(BUILD)/app/wms-rights $(if $(DB),--db "$(DB)") $(ARGS)

test: build
	scripts/with-postgres ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure --timeout 300

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target rights_bench login_bench
	scripts/with-postgres scripts/run-bench $(BUILD)

package: build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD)
