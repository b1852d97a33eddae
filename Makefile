# The front door: `make run` builds and starts the game, `make test` builds
# and runs every test. Both install missing Debian packages first.

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
# Seconds each fuzz harness runs in `make fuzz-run`, ticks each level and the
# editor get in `make soak`.
FUZZ_SECONDS ?= 30
SOAK_TICKS ?= 3000
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all run edit test sanitize packages build assets check-assets clean fuzz fuzz-run soak pot po-update po-check

all: build

packages:
	@tools/install_packages.sh

build: packages
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/bluejay

edit: build
	./$(BUILD)/bluejay -edit

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: packages
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DBLUEJAY_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/leak_suppressions.txt \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The fuzz harnesses of fuzz/, built with clang and libFuzzer under
# AddressSanitizer and UBSan, and a run of each on its corpus.
fuzz: packages
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DBLUEJAY_FUZZ=ON -DBLUEJAY_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz-run: fuzz
	fuzz/run_fuzzers.sh --build $(FUZZ_BUILD) --seconds $(FUZZ_SECONDS)

# Every campaign level and the editor played with random input under the
# sanitizers (the sanitizer build of `make sanitize`).
soak: packages
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DBLUEJAY_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target bluejay_soak
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/leak_suppressions.txt \
	  UBSAN_OPTIONS=print_stacktrace=1 ./$(SANITIZE_BUILD)/bluejay_soak --ticks $(SOAK_TICKS) --jobs $(JOBS)

# Regenerate every picture, tune and sound from the sources in tools/.
assets:
	python3 tools/make_pictures.py
	python3 tools/make_sounds.py

# Check that the committed data files match their sources.
check-assets:
	python3 tools/make_pictures.py --check
	python3 tools/make_sounds.py --check

# The translations (po/README.md): `make pot` gathers the texts of the
# sources into po/bluejay.pot, `make po-update` merges it into every
# po/<language>.po, `make po-check` checks every translation (placeholders,
# every text translated, the letters the game's font has, what fits where it
# is drawn).
pot: packages
	tools/catalogue.sh pot

po-update: pot
	tools/catalogue.sh update

po-check: build
	tools/catalogue.sh check
	cd $(BUILD) && ctest --output-on-failure -R 'Translation'

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)

# The benchmark (tools/bluejay_bench.cpp): ticks per second on every campaign
# level and on a level at the editor's limits, start-up, Rebuild_Levels,
# memory, one Display_Scene at 1920 x 1080, and the processor the game takes
# while it plays, against a build in $(SPIN_BUILD) whose tick wait spins.
# BENCH_OPTIONS passes more options, e.g. BENCH_OPTIONS="--runs 9".
SPIN_BUILD ?= build-spin
BENCH_OPTIONS ?=
.PHONY: bench
bench: build
	cmake -S . -B $(SPIN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLUEJAY_TESTS=OFF -DBLUEJAY_SPIN_WAIT=ON
	cmake --build $(SPIN_BUILD) -j $(JOBS)
	./$(BUILD)/bluejay_bench --spin-game $(SPIN_BUILD)/bluejay $(BENCH_OPTIONS)

# Installs the game under PREFIX: the program (bin/bluejay, `bluejay -edit`
# for the editor), its data, the music's patch set, a desktop entry with its
# icons and the manual page. DESTDIR stages the files elsewhere.
PREFIX ?= /usr/local
.PHONY: install
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
