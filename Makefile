# The front door: `make run` builds and starts the game, `make test` builds
# and runs every test. Both install missing Debian packages first.

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all run edit test sanitize packages build assets check-assets clean

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

# Regenerate every picture, tune and sound from the sources in tools/.
assets:
	python3 tools/make_pictures.py
	python3 tools/make_sounds.py

# Check that the committed data files match their sources.
check-assets:
	python3 tools/make_pictures.py --check
	python3 tools/make_sounds.py --check

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
