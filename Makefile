# make deps | make | make run | make test | make bench | make fuzz
HOST := build/host
WIN32 := build/win32
FUZZ := build/fuzz
BENCH := build/bench
CMAKE_GEN := -G Ninja

.PHONY: all deps host win32 run test bench fuzz clean

all: host win32

deps:
	@tools/install-deps.sh

# What the two builds make: everything, or for make run only the targets
# qmx_run names (the program, its payload and packer, and the helpers that
# report what it left), not the tests, benchmarks and fuzz targets.
TARGETS := all

host:
	cmake -S . -B "$(HOST)" $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build "$(HOST)" --target $(TARGETS)

# The Windows build packs its payload with the native packer. The checkout's
# path may hold blanks: every path that carries it is quoted.
win32: host
	cmake -S . -B "$(WIN32)" $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	    "-DQMX_HOST_TOOLS=$(CURDIR)/$(HOST)/tools" >/dev/null
	cmake --build "$(WIN32)" --target $(TARGETS)

# RUN=uninstall runs the uninstall in the same prefix.
RUN ?= install
run: TARGETS := qmx_run
run: deps all
	@tools/run.sh "$(WIN32)" $(RUN)

# The short fuzz runs go first, so that CTest's summary closes the output.
test: deps all
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=20
	ctest --test-dir "$(HOST)" --output-on-failure
	ctest --test-dir "$(WIN32)" --output-on-failure
	@tests/wine/bed can-run >/dev/null || echo "The Windows tests listed as not run need Wine: $$(tests/wine/bed can-run)."

# Figures only: the codec on the sample payload that the Windows build makes
# and the setup's checksum, built as the product is built (-Os, and for the
# 486 where the compilers allow it) in a folder of their own; and the install
# under Wine against a plain copy and NSIS.
bench: deps all
	cmake -S . -B "$(BENCH)" $(CMAKE_GEN) -DQMX_BENCH_BUILD=ON >/dev/null
	cmake --build "$(BENCH)" --target codec_bench gif_bench
	"$(BENCH)/bench/codec_bench" "$(WIN32)/sample" "$(WIN32)/qmxsetup.exe"
	"$(BENCH)/bench/gif_bench"
	@if reason=$$(tests/wine/bed can-run); then \
	    bench/idle_cpu.sh "$(WIN32)" && bench/install_bench.sh "$(WIN32)"; \
	else echo "The idle and install benchmarks need Wine: $$reason."; fi

# Each libFuzzer target for FUZZ_SECONDS, in a clang build of its own.
FUZZ_SECONDS ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S tests/fuzz -B "$(FUZZ)" $(CMAKE_GEN) >/dev/null
	cmake --build "$(FUZZ)"
	tests/fuzz/run "$(FUZZ)" $(FUZZ_SECONDS)

clean:
	rm -rf build
