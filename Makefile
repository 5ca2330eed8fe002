# make deps | make | make run | make test | make bench | make fuzz
HOST := build/host
WIN32 := build/win32
FUZZ := build/fuzz
CMAKE_GEN := -G Ninja

.PHONY: all deps host win32 run test bench fuzz clean

all: host win32

deps:
	@tools/install-deps.sh

host:
	cmake -S . -B $(HOST) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(HOST)

# The Windows build packs its payload with the native packer.
win32: host
	cmake -S . -B $(WIN32) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	    -DQMX_HOST_TOOLS=$(abspath $(HOST)/tools) >/dev/null
	cmake --build $(WIN32)

run: deps all
	@tools/run.sh $(WIN32)

test: deps all
	ctest --test-dir $(HOST) --output-on-failure
	ctest --test-dir $(WIN32) --output-on-failure

bench: deps host
	@echo "no benchmarks yet"

clean:
	rm -rf build
