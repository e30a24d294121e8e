# The two commands of the README: `make run` and `make test`. Both install the Debian packages
# that are missing (non-interactively), configure and build.

DEBIAN_PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev pkg-config \
	libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev libfreetype-dev libfontconfig-dev \
	fonts-ipafont-mincho fonts-ipafont-gothic fluid-soundfont-gm libpng-dev \
	libgtest-dev googletest libbenchmark-dev xauth xvfb xdotool

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)
BUILD := build
ASAN_BUILD := build-asan
TSAN_BUILD := build-tsan

.PHONY: all deps build run test unit-tests sanitizer-tests tsan-build thread-tests xvfb-tsan \
	bench soak soak-plain soak-asan clean

all: build

# Without dpkg (not a Debian system) nothing can be checked or installed: that is said once,
# and the build goes on when the build tools are there.
BUILD_TOOLS := cmake ninja c++ pkg-config

deps:
	@if ! command -v dpkg-query >/dev/null 2>&1; then \
		echo "No dpkg on this machine: Debian packages are not checked or installed."; \
		echo "Needed (Debian names): $(DEBIAN_PACKAGES)"; \
		absent=""; \
		for t in $(BUILD_TOOLS); do command -v $$t >/dev/null 2>&1 || absent="$$absent $$t"; done; \
		if [ -n "$$absent" ]; then echo "Missing build tools:$$absent"; exit 1; fi; \
		exit 0; \
	fi; \
	missing=""; \
	for p in $(DEBIAN_PACKAGES); do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOMA_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)

# Runs the demo game in a window; with no display, headless with a short scripted play.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		./$(BUILD)/noma --data data/demo; \
	else \
		echo "No display: running the demo headless with data/demo/demo.input"; \
		mkdir -p out && ./$(BUILD)/noma --data data/demo --headless --input demo.input && \
		echo "The screenshots of the run are in out/ (demo-*.png)"; \
	fi

test: unit-tests thread-tests xvfb-tsan sanitizer-tests

unit-tests: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] || continue; \
		echo "smoke run: $$b"; "$$b" --benchmark_min_time=0.0001 >/dev/null || exit 1; \
	done

# The same tests under AddressSanitizer + UndefinedBehaviorSanitizer, built with clang; the
# fuzz targets are built in this tree too and each runs over its seed corpus.
sanitizer-tests: deps
	CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DNOMA_SANITIZE=ON -DNOMA_FUZZ=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The ThreadSanitizer build, shared by the two targets below (one build even under make -j).
tsan-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNOMA_TSAN=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target noma test_system test_host

# The threaded whole-system tests (boot, close, X server, keys) under ThreadSanitizer, each in
# its own process as ctest runs them.
thread-tests: tsan-build
	@export OMP_NUM_THREADS=1 SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
		FONTCONFIG_FILE=$(CURDIR)/tests/fonts/fonts.conf; \
	failed=""; \
	for t in $$(./$(TSAN_BUILD)/tests/test_system --gtest_list_tests | \
			awk '/^[^ ]/ {suite=$$1} /^  / {print suite $$1}'); do \
		timeout 300 ./$(TSAN_BUILD)/tests/test_system --gtest_filter=$$t >/tmp/noma-tsan-$$$$.log 2>&1 \
			|| { cat /tmp/noma-tsan-$$$$.log; failed="$$failed $$t"; }; \
	done; rm -f /tmp/noma-tsan-$$$$.log; \
	if [ -n "$$failed" ]; then echo "Failed under ThreadSanitizer:$$failed"; exit 1; fi; \
	echo "Every whole-system test passed under ThreadSanitizer"

# The soak test (not part of `make test`): the demo played headless with seeded random input
# for SOAK_HOURS of game time, once in the normal build and once under AddressSanitizer
# (`make -j2 soak` runs the two at once). tools/soak/soak.py says what it checks.
SOAK_HOURS ?= 8
SOAK_SEED ?= 1
SOAK_ARGS ?=

soak: soak-plain soak-asan

soak-plain: build
	python3 tools/soak/soak.py --noma $(BUILD)/noma --hours $(SOAK_HOURS) --seed $(SOAK_SEED) \
		--label plain $(SOAK_ARGS)

# The plain build paints the demo's start-screen pictures, which the sanitizer build does not.
soak-asan: build
	CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DNOMA_SANITIZE=ON -DNOMA_FUZZ=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target noma
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=16 \
		UBSAN_OPTIONS=print_stacktrace=1 \
		python3 tools/soak/soak.py --noma $(ASAN_BUILD)/noma --hours $(SOAK_HOURS) \
		--seed $(SOAK_SEED) --label asan --watchdog 14400 --rss-slack 16384 $(SOAK_ARGS)

# The threaded paths as a player meets them, under ThreadSanitizer: the host's sound tests on
# SDL's disk audio driver (the audio thread, the mixer, fluidsynth), then a scripted play of the
# demo on an X server of its own (Xvfb) driven by xdotool (tools/tsan_play.sh). Any report
# fails it; tools/tsan_play.supp holds the few for system libraries, each with its reason.
xvfb-tsan: tsan-build
	tools/tsan_play.sh $(TSAN_BUILD)

bench: build
	@for b in $(BUILD)/bench/bench_*; do "$$b"; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD)
