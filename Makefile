# The two commands every new user runs: `make run` and `make test`.
# Both install what is missing first (scripts/install-deps).

BUILD       ?= build
SAN_BUILD   ?= build-san
FUZZ_BUILD  ?= build-fuzz
WERROR      ?= OFF
FUZZ_SECONDS ?= 300
CMAKE_FLAGS ?=
# make install: empty PREFIX installs for the current user (~/.local/bin,
# $XDG_DATA_HOME); PREFIX=/usr and DESTDIR=... for packagers.
PREFIX      ?=
DESTDIR     ?=

.PHONY: all deps configure build test test-main test-screen-reader test-sanitize run install uninstall fuzz bench gallery clean

all: build

deps:
	@scripts/install-deps

# WERROR only adds the test that fails on compiler warnings; the compile
# flags stay the same, so switching it rebuilds nothing.
configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

test: test-main test-sanitize

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure --timeout 600

# The real screen reader Orca following a keyboard-only player, alone.
test-screen-reader: build
	ctest --test-dir $(BUILD) --output-on-failure --timeout 600 -L screen-reader

# The non-GUI code and its tests again, under AddressSanitizer and UBSan.
test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSALY_SANITIZE=ON \
	    -DTESSALY_GUI=OFF -DTESSALY_BENCH=OFF -DTESSALY_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(SAN_BUILD)
	ctest --test-dir $(SAN_BUILD) --output-on-failure --timeout 600

run: build
	scripts/run-suite $(BUILD)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DTESSALY_FUZZ=ON -DTESSALY_GUI=OFF -DTESSALY_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD)
	scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

install: build
	PREFIX="$(PREFIX)" DESTDIR="$(DESTDIR)" scripts/install-suite install $(BUILD)

uninstall:
	PREFIX="$(PREFIX)" DESTDIR="$(DESTDIR)" scripts/install-suite uninstall $(BUILD)

bench: build
	scripts/run-benchmarks $(BUILD)

gallery: build
	cmake --build $(BUILD) --target gallery

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)
