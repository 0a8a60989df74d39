# wms-rights: the two commands a user needs, and the benchmarks.
#   make run    install what is missing, build, open the demo host on the sample database
#   make test   install what is missing, build, run every test (SQLite and PostgreSQL)
#   make bench  build and run the benchmarks (SQLite and a throwaway PostgreSQL server)
#   make package  build the .deb of the module's libraries, headers and CMake package (in $(BUILD))
#   make test-asan  build the tests with AddressSanitizer and UndefinedBehaviorSanitizer (in $(ASAN_BUILD))
#                   and run every test on SQLite and PostgreSQL; any error fails the run
#   make test-stress  eight clients of random administration operations on one throwaway PostgreSQL
#                     database for $(STRESS_SECONDS) s, then the invariants checked and printed
BUILD ?= build
JOBS ?= 2
# DB: a database other than the sample (an existing SQLite file or a postgresql:// URL).
DB ?=
ASAN_BUILD ?= build-asan
STRESS_SECONDS ?= 60

.PHONY: deps configure build run test test-asan test-stress bench package clean

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

# Debug at -O1: assertions on, stacks readable, not too slow. Undefined behaviour
# stops the program at its first report; leaks are reported at exit, except the
# libraries' own listed in tests/sanitizers/lsan.supp. The test programs run
# while building too (to list their tests), so the options hold for both.
# intercept_tls_get_addr=0: the leak checker of GCC 12's runtime follows a stale
# dynamic TLS entry at exit (glibc 2.36) and crashes ("Tracer caught signal 11",
# "DTLS ... at 0x...13a9") after tests that passed; without the interception it
# scans the threads' static TLS and stacks as before and reports no leak of its own.
SANITIZE = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
test-asan: export ASAN_OPTIONS = detect_leaks=1:strict_init_order=1:intercept_tls_get_addr=0
test-asan: export LSAN_OPTIONS = suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0
test-asan: export UBSAN_OPTIONS = print_stacktrace=1:halt_on_error=1
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWMS_BUILD_TESTS=ON -DWMS_BUILD_BENCH=ON \
	  "-DCMAKE_C_FLAGS=$(SANITIZE)" "-DCMAKE_CXX_FLAGS=$(SANITIZE)" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DCMAKE_C_FLAGS_DEBUG="-g -O1" "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZE)" \
	  "-DCMAKE_SHARED_LINKER_FLAGS=$(SANITIZE)" >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	scripts/with-postgres ctest --test-dir $(ASAN_BUILD) -j $(JOBS) --output-on-failure --timeout 600

# Each client is its own process with its own connection (tests/stress); a
# violated invariant or a client still running 30 s after its time fails
# the run. ctest runs the same for 3 s on SQLite and PostgreSQL.
test-stress: configure
	@cmake --build $(BUILD) -j $(JOBS) --target stress_driver stress_client
	scripts/with-postgres $(BUILD)/tests/stress/stress_driver --backend postgres --seconds $(STRESS_SECONDS)

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target rights_bench login_bench
	scripts/with-postgres scripts/run-bench $(BUILD)

package: build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
