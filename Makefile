# The front door: `make run` builds and installs the plug-in, `make test` builds and runs every test.

BUILD_DIR   ?= build
TSAN_DIR    ?= build-tsan
JOBS        ?= $(shell nproc)
VST_DIR     ?= $(HOME)/.vst
CMAKE_FLAGS ?=

PLUGIN := $(BUILD_DIR)/Cadenzium2_artefacts/Release/VST/Cadenzium2.so

.PHONY: setup configure build test run install bench tsan format clean

setup:
	@bash scripts/setup

configure: setup
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure --parallel $(JOBS)

install: build
	@mkdir -p "$(VST_DIR)"
	@install -m 755 "$(PLUGIN)" "$(VST_DIR)/Cadenzium2.so"

run: install
	@echo ""
	@echo "Installed the Cadenzium 2 VST2 plug-in:"
	@echo "    $(VST_DIR)/Cadenzium2.so"
	@echo ""
	@echo "Hosts look for VST2 plug-ins in ~/.vst, /usr/lib/vst and /usr/local/lib/vst"
	@echo "(Ardour and Qtractor also read \$$LXVST_PATH, JUCE-based hosts \$$VST_PATH)."
	@echo "Rescan plug-ins in your host and insert \"Cadenzium 2\" on a MIDI track."

bench: build
	@for b in $(BUILD_DIR)/bench/*_bench; do [ -x "$$b" ] && "$$b" || true; done

# A ThreadSanitizer build of everything, for the cross-thread tests; not part of CI.
tsan: setup
	@cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCADENZIUM_SANITIZE=thread -DCADENZIUM_BUILD_BENCHMARKS=OFF > /dev/null
	@cmake --build $(TSAN_DIR) --parallel $(JOBS)
	@cd $(TSAN_DIR) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure --parallel $(JOBS) -L threads

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(TSAN_DIR)
