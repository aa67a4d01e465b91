# Velmora: `make run` builds and starts the program, `make test` builds and runs every test.
BUILD ?= build
WIN := $(BUILD)/win
NATIVE := $(BUILD)/native
PREFIX := $(abspath $(BUILD))/wineprefix
JOBS ?= $(shell nproc)
# Wine tests run side by side, each lane with its own X server and prefix.
LANES ?= $(shell n=$$(nproc); [ $$n -gt 2 ] && n=2; echo $$n)
HARNESS := tools/harness

export VELMORA_SIM_DIR := $(abspath $(WIN))/bin/sim

# Size of the robustness runs (fuzzing, hostile drivers, long runs): `quick` keeps `make test`
# short; `make test ROBUSTNESS=full` runs the full counts the figures are quoted for.
ROBUSTNESS ?= quick
export VELMORA_ROBUSTNESS := $(ROBUSTNESS)

.PHONY: all deps build run test tidy bench check64 package screenshots clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	@cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake >/dev/null
	@cmake --build $(WIN) -j $(JOBS)
	@cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
		-DVELMORA_WIN_BUILD=$(abspath $(WIN)) >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

run: build
	@$(HARNESS)/run.sh $(PREFIX) $(abspath $(WIN))/bin $(abspath $(BUILD))/screenshots

# The robustness tests' figures are printed at the end (ctest keeps passing tests' output in
# its log only).
test: build
	@VELMORA_LANES=$(LANES) $(HARNESS)/session.sh $(PREFIX) \
		ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS) \
		--resource-spec-file $(abspath $(BUILD))/lanes.json $(CTEST_ARGS); \
	status=$$?; \
	echo "Robustness figures ($(ROBUSTNESS) size):"; \
	grep -h "FIGURES:" $(NATIVE)/Testing/Temporary/LastTest.log || true; \
	exit $$status

# The README's pictures, taken from the real program: docs/screenshots/.
screenshots: build
	@VELMORA_BIN=$(abspath $(WIN))/bin $(HARNESS)/session.sh $(PREFIX) \
		/usr/bin/python3 $(HARNESS)/readme_screenshots.py

# The installer and the portable zip, named with the program's version, in $(BUILD)/package.
# Their update check trusts the release key's public half (DER) and asks the update server:
#   make package UPDATE_PUBLIC_KEY=/secure/velmora-release-update-public.der UPDATE_HOST=...
# Without both the package checks for no updates (it never trusts the test key).
package: build
	@cmake -S . -B $(WIN) \
		-DVELMORA_RELEASE_UPDATE_PUBLIC_KEY="$(if $(UPDATE_PUBLIC_KEY),$(abspath $(UPDATE_PUBLIC_KEY)))" \
		-DVELMORA_RELEASE_UPDATE_HOST="$(UPDATE_HOST)" >/dev/null
	@cmake --build $(WIN) -j $(JOBS) --target velmora_package_program velmora_package_versync
	@python3 tools/package/package.py $(WIN)/bin $(BUILD)/package --package-build $(WIN)/bin/package

# A 64-bit compile of the same tree: catches pointer-size assumptions. Not shipped, not tested.
check64: deps
	@cmake -S . -B $(BUILD)/win64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
	@cmake --build $(BUILD)/win64 -j $(JOBS)

# clang-tidy (.clang-tidy: the bugprone and clang-analyzer families) over our code in both builds,
# from their compile commands; fails on any finding. Not part of `make test`: it takes a while.
tidy: build
	@tools/tidy/run-tidy.sh $(BUILD) $(JOBS)

bench: build
	@tools/bench.sh $(BUILD)

clean:
	@if [ -d "$(PREFIX)" ]; then WINEPREFIX=$(PREFIX) wineserver -k 2>/dev/null || true; fi
	rm -rf $(BUILD)
