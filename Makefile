# Thin wrapper over CMake. Every target installs missing packages first.
BUILD        ?= build
SAN_BUILD    ?= build-sanitize
FUZZ_BUILD   ?= build-fuzz
WEB_BUILD    ?= build-emscripten
FUZZ_SECONDS ?= 60
JOBS         ?= $(shell nproc)
CMAKE_ARGS   ?=
PREFIX       ?= /usr/local

.PHONY: all deps build test run bench sanitize fuzz format format-check install package web web-test clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMA_WERROR=ON $(CMAKE_ARGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Installs under PREFIX; DESTDIR=... stages the files elsewhere, as packagers do.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Builds lumadoll_VERSION_ARCH.deb in the build folder.
package: build
	cd $(BUILD) && cpack -G DEB

run: build
	@scripts/run-main $(BUILD)

bench: build
	@scripts/run-benchmarks $(BUILD)

$(SAN_BUILD)/build.ninja:
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMA_SANITIZE=ON $(CMAKE_ARGS)

# Every test under the sanitizers; SANITIZE=engine builds and runs only the
# engine's test programs (CI does, to keep its time down).
SANITIZE        ?= all
SAN_ENGINE_TESTS = host gfx archive model pools fkiss render doll view files
SAN_TARGETS      = $(if $(filter engine,$(SANITIZE)),--target $(SAN_ENGINE_TESTS:%=luma_%_tests))
SAN_CTEST_ARGS   = $(if $(filter engine,$(SANITIZE)),-R '^(host|gfx|archive|model|pools|fkiss|render|doll|view|files)$$')

sanitize: deps $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS) $(SAN_TARGETS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS) $(SAN_CTEST_ARGS)

$(FUZZ_BUILD)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DLUMA_FUZZ=ON -DLUMA_BUILD_QT=OFF $(CMAKE_ARGS)

fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The web page (build-web/): the engine compiled by Debian's emscripten,
# offline. Node finds Debian's JavaScript modules (the optimiser's parser)
# under /usr/share/nodejs whichever node is installed.
$(WEB_BUILD)/build.ninja:
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)

web: deps $(WEB_BUILD)/build.ninja
	NODE_PATH=/usr/share/nodejs EMCC_CORES=$(JOBS) cmake --build $(WEB_BUILD) -j $(JOBS)

# The browser tests: the page in headless Chromium against lumadoll-tool.
web-test: build web
	@scripts/web-tests $(BUILD)

format: deps
	find src bench fuzz -name '*.h' -o -name '*.cpp' | xargs clang-format -i

# Fails on any file that clang-format would change.
format-check: deps
	find src bench fuzz -name '*.h' -o -name '*.cpp' | xargs clang-format --dry-run -Werror

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD) build-web
