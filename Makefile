# Thin wrapper over CMake. Each target first installs the Debian packages it needs that are
# missing (packages/run.txt; make test adds packages/test.txt, make bench packages/bench.txt).
BUILD ?= build
# CI (CI=true) turns every compiler warning into an error.
WERROR = $(if $(CI),-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR)

# $(call build_with,LISTS,TARGETS): install the packages of LISTS, configure once, build TARGETS
# (everything when none is named).
define build_with
	@scripts/install-deps $(1)
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD)$(if $(2), --target $(2))
endef

.PHONY: deps build run test bench clean sanitize test-sanitize fuzz

deps:
	@scripts/install-deps run test bench

# The program alone: the tests, fuzz targets and benchmarks wait for make test and make bench.
build:
	$(call build_with,run,glyvex)

# The display is checked first: without one there is nothing to install or build for.
run:
	@scripts/check-display
	$(call build_with,run,glyvex)
	$(BUILD)/src/glyvex

# The sources follow .clang-format.
FORMATTED = $(shell git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'fuzz/*.cpp' 'fuzz/*.h')

test:
	$(call build_with,run test)
	@clang-format --dry-run --Werror $(FORMATTED) && echo "clang-format: the sources follow .clang-format"
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600
	@$(MAKE) --no-print-directory test-sanitize

# The program and what the benchmarks run (bench/CMakeLists.txt: glyvex_benchmarks). Configured
# again each time: a build folder first configured by make run or make build has not looked for the
# X libraries the benchmarks' watchers are built with (packages/bench.txt), which CMake finds then.
bench:
	@scripts/install-deps run bench
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) --target glyvex_benchmarks
	bench/run-all $(BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer (leaks included),
# built with clang in a second folder together with the libFuzzer targets, whose committed seed
# corpora are replayed as tests there. `make fuzz FUZZ_SECONDS=60` fuzzes each target that long;
# what it finds goes to $(SANITIZE_BUILD)/fuzz/findings.
SANITIZE_BUILD ?= build-sanitize
FUZZ_SECONDS ?= 60
SANITIZE_FLAGS = -fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer
SANITIZE_ENV = QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitize:
	@scripts/install-deps run test
	@[ -f $(SANITIZE_BUILD)/build.ninja ] || cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++-14 "-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS)" -DGLYVEX_FUZZ=ON $(WERROR)
	cmake --build $(SANITIZE_BUILD)

test-sanitize: sanitize
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest -L unit --output-on-failure --timeout 900

fuzz: sanitize
	@mkdir -p $(SANITIZE_BUILD)/fuzz/findings
	@for target in textdecode rtfwriter fontfile; do \
		mkdir -p $(SANITIZE_BUILD)/fuzz/corpus-$$target; \
		$(SANITIZE_ENV) $(SANITIZE_BUILD)/fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(SANITIZE_BUILD)/fuzz/findings/$$target- \
			$(SANITIZE_BUILD)/fuzz/corpus-$$target fuzz/corpus/$$target || exit 1; \
	done
