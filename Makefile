# Thin wrapper over CMake. Each target first installs the Debian packages it needs that are
# missing (packages/run.txt; make test adds packages/test.txt, make bench packages/bench.txt).
BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

# $(call build_with,LISTS): install the packages of LISTS, configure once, build.
define build_with
	@scripts/install-deps $(1)
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD)
endef

.PHONY: deps build run test bench clean

deps:
	@scripts/install-deps run test bench

build:
	$(call build_with,run)

# The display is checked first: without one there is nothing to install or build for.
run:
	@scripts/check-display
	$(call build_with,run)
	$(BUILD)/src/glyvex

test:
	$(call build_with,run test)
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600

bench:
	$(call build_with,run bench)
	bench/run-all $(BUILD)

clean:
	rm -rf $(BUILD)
