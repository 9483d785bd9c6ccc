# The front door: `make run` builds and installs the plug-ins and the app (nothing else),
# `make test` builds and runs every test.

BUILD_DIR   ?= build
TSAN_DIR    ?= build-tsan
ASAN_DIR    ?= build-asan
FUZZ_DIR    ?= build-fuzz
FUZZ_SECONDS ?= 30
JOBS        ?= $(shell nproc)
VST_DIR     ?= $(HOME)/.vst
VST3_DIR    ?= $(HOME)/.vst3
LV2_DIR     ?= $(HOME)/.lv2
CMAKE_FLAGS ?=

BIN_DIR     ?= $(HOME)/.local/bin
SHARE_DIR   ?= $(HOME)/.local/share

ARTEFACTS := $(BUILD_DIR)/Cadenzium2_artefacts/Release
PLUGIN   := $(ARTEFACTS)/VST/Cadenzium2.so
VST3_BUNDLE := $(ARTEFACTS)/VST3/Cadenzium2.vst3
LV2_BUNDLE  := $(ARTEFACTS)/LV2/Cadenzium2.lv2
APP      := $(ARTEFACTS)/Standalone/Cadenzium2
DESKTOP_ENTRY := $(SHARE_DIR)/applications/cadenzium2.desktop
ICON     := $(SHARE_DIR)/icons/hicolor/scalable/apps/cadenzium2.svg
# What `make run` needs: the four formats, the renderer and the preset writer; no tests.
# (The run_targets target of CMakeLists.txt.)
RUN_TARGETS := run_targets
RENDERER := $(BUILD_DIR)/tools/cadenzium-render
PRESET_TOOL := $(BUILD_DIR)/tools/make_factory_presets
# The user manual (docs/manual), and the tool that puts it where the editor's manual button looks.
MANUAL   := $(BUILD_DIR)/manual/Cadenzium 2 Manual 2.5.0.pdf
MANUAL_TOOL := $(BUILD_DIR)/tools/install_manual
FACTORY_PRESETS := resources/presets/Factory
EXAMPLE  := resources/chords/Pop Four Chords.mid
EXAMPLE_PRESET := $(FACTORY_PRESETS)/Arpeggios/Sixteenth Cascade.bpre

.PHONY: setup setup-run configure configure-run build build-run test test-sanitized framework gui-fuzz run install manual presets \
        package bench tsan fuzz fuzz-smoke format clean

# `make run` installs only the packages the plug-in's build needs; the rest (the hosts and
# tools the tests drive) come with the first `make test`.
setup:
	@bash scripts/setup test

setup-run:
	@bash scripts/setup run

configure: setup
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) > /dev/null

configure-run: setup-run
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS)

# Only what `make run` installs, in the same build folder as everything else. The manual's
# pictures are taken of the built window: once the manual is there, a rebuild after a change
# of code leaves it as it is (make manual, make test and make package make it afresh).
build-run: configure-run
	@if [ -f "$(MANUAL)" ]; then targets=$(RUN_TARGETS); else targets=$(RUN_TARGETS)_and_manual; fi; \
		cmake --build $(BUILD_DIR) --parallel $(JOBS) --target $$targets

# Every test. The editor's lifetime and random-input tests (label "sanitized") run in
# $(ASAN_DIR) under AddressSanitizer: that build instruments our code and links the framework
# this one compiled (UBSan's checks would add half to its time: make gui-fuzz and make fuzz
# have them). It compiles at the lowest priority beside the tests that open no window,
# Ardour's among them; the window tests (label "editor") and those that count a JACK
# server's periods (label "realtime") run after it, on a quiet machine: beside a build, the
# test X server's focus changes reach the window late, and the server misses its periods.
SANITIZED_TARGETS := editor_lifetime_tests
# Freed memory is filled, so the uninstrumented framework touching a freed component of ours
# crashes there and then, instead of reading what was left.
SANITIZER_OPTIONS := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:max_free_fill_size=65536 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
FRAMEWORK_ARCHIVE := $(abspath $(ARTEFACTS))/libCadenzium2_SharedCode.a
CTEST := ctest --output-on-failure --no-tests=error
RUN_SANITIZED := cd $(ASAN_DIR) && $(SANITIZER_OPTIONS) $(CTEST) --parallel $(JOBS) -L sanitized

test: build
	@$(MAKE) --no-print-directory $(ASAN_DIR)/CMakeCache.txt
	@echo "Building the sanitized tests beside the first tests (messages: $(ASAN_DIR)/build.log)"
	@nice -n 19 cmake --build $(ASAN_DIR) --parallel $(JOBS) --target $(SANITIZED_TARGETS) > $(ASAN_DIR)/build.log 2>&1 & builder=$$!; \
		(cd $(BUILD_DIR) && $(CTEST) --parallel $(JOBS) -LE 'sanitized|realtime|editor'); tests=$$?; \
		wait $$builder; built=$$?; \
		[ $$built -eq 0 ] || { tail -n 40 $(ASAN_DIR)/build.log; echo "The sanitized build failed: $(ASAN_DIR)/build.log"; }; \
		[ $$tests -eq 0 ] && [ $$built -eq 0 ]
	@cd $(BUILD_DIR) && $(CTEST) --parallel $(JOBS) -L editor
	@cd $(BUILD_DIR) && $(CTEST) -L realtime
	@$(RUN_SANITIZED)

# Configured again when this file changes what it asks for.
$(ASAN_DIR)/CMakeCache.txt: Makefile
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -DNDEBUG" \
		-DCADENZIUM_SANITIZE=address -DCADENZIUM_BUILD_BENCHMARKS=OFF -DCADENZIUM_UNITY_BATCH_SIZE=32 \
		"-DCADENZIUM_FRAMEWORK_ARCHIVE=$(FRAMEWORK_ARCHIVE)" $(CMAKE_FLAGS) > /dev/null

# The sanitized tests alone.
test-sanitized: setup $(ASAN_DIR)/CMakeCache.txt framework
	@cmake --build $(ASAN_DIR) --parallel $(JOBS) --target $(SANITIZED_TARGETS)
	@$(RUN_SANITIZED)

# The framework the sanitized build links.
framework: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS) --target Cadenzium2

# The random-input test of the window alone, for long runs, with the framework instrumented too
# (in its own folder): make gui-fuzz GUI_FUZZ_SECONDS=1800 [GUI_FUZZ_SEED=n]. Each seed plays a
# few hundred gestures; a failure prints its seed, which replays it.
GUI_FUZZ_DIR ?= build-gui-fuzz
GUI_FUZZ_SECONDS ?= 600
GUI_FUZZ_SEED ?= $(shell date +%s)
gui-fuzz: setup
	@cmake -S . -B $(GUI_FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -DNDEBUG" \
		-DCADENZIUM_SANITIZE=address,undefined -DCADENZIUM_BUILD_BENCHMARKS=OFF $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(GUI_FUZZ_DIR) --parallel $(JOBS) --target editor_lifetime_tests
	@cd $(GUI_FUZZ_DIR) && $(SANITIZER_OPTIONS) CADENZIUM_GUI_FUZZ_SECONDS=$(GUI_FUZZ_SECONDS) CADENZIUM_TEST_SEED=$(GUI_FUZZ_SEED) \
		./tests/editor_lifetime_tests --gtest_filter='RandomInput.*'

# The user manual as a PDF, with fresh pictures of the editor: $(MANUAL)
manual: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS) --target manual
	@echo "Built $(MANUAL)"

# Bundles are replaced whole, so no file of an older version stays behind in them.
install: build-run
	@mkdir -p "$(VST_DIR)" "$(VST3_DIR)" "$(LV2_DIR)" "$(BIN_DIR)" "$(dir $(DESKTOP_ENTRY))" "$(dir $(ICON))"
	@install -m 755 "$(PLUGIN)" "$(VST_DIR)/Cadenzium2.so"
	@rm -rf "$(VST3_DIR)/Cadenzium2.vst3" "$(LV2_DIR)/Cadenzium2.lv2"
	@cp -R "$(VST3_BUNDLE)" "$(VST3_DIR)/Cadenzium2.vst3"
	@cp -R "$(LV2_BUNDLE)" "$(LV2_DIR)/Cadenzium2.lv2"
	@install -m 755 "$(APP)" "$(BIN_DIR)/cadenzium2"
	@sed 's|@BIN_DIR@|$(BIN_DIR)|g' resources/standalone/cadenzium2.desktop.in > "$(DESKTOP_ENTRY)"
	@install -m 644 resources/standalone/cadenzium2.svg "$(ICON)"
	@command -v update-desktop-database > /dev/null && update-desktop-database -q "$(dir $(DESKTOP_ENTRY))" || true
	@install -m 755 "$(RENDERER)" "$(BIN_DIR)/cadenzium-render"
	@"$(PRESET_TOOL)" --install "$(FACTORY_PRESETS)"
	@"$(PRESET_TOOL)" --install-chords resources/chords
	@printf 'Installed the user manual (the "?" button of the window opens it): ' && "$(MANUAL_TOOL)" "$(MANUAL)"

# The Debian package and a plain .tar.gz of the same files, in $(BUILD_DIR)/package
# (packaging/make-package says what goes where).
package: setup build-run
	@cmake --build $(BUILD_DIR) --parallel $(JOBS) --target manual
	@bash packaging/make-package "$(BUILD_DIR)" "$(BUILD_DIR)/package"

# Rewrites the committed factory library from its code in tools/factory-presets.
presets: build-run
	@rm -rf "$(FACTORY_PRESETS)"
	@"$(PRESET_TOOL)" "$(FACTORY_PRESETS)" > /dev/null
	@echo "Wrote $(FACTORY_PRESETS)"

run: install
	@echo ""
	@echo "Installed Cadenzium 2:"
	@echo "    VST2        $(VST_DIR)/Cadenzium2.so"
	@echo "    VST3        $(VST3_DIR)/Cadenzium2.vst3"
	@echo "    LV2         $(LV2_DIR)/Cadenzium2.lv2"
	@echo "    standalone  $(BIN_DIR)/cadenzium2"
	@echo "                $(DESKTOP_ENTRY)"
	@echo "                $(ICON)"
	@echo ""
	@echo "Rescan plug-ins in your host and insert \"Cadenzium 2\" on a MIDI track, in front of a"
	@echo "synth (the README says which hosts load which format). Without a host, start"
	@echo "\"cadenzium2\" (or \"Cadenzium 2\" from the desktop menu) and pick the MIDI input and"
	@echo "output in its Options > Audio/MIDI Settings."
	@echo ""
	@echo "Installed the command-line renderer: $(BIN_DIR)/cadenzium-render (see --help)."
	@echo "Rendering an example chord progression with the factory preset \"Sixteenth Cascade\":"
	@mkdir -p "$(BUILD_DIR)/renders"
	@"$(BIN_DIR)/cadenzium-render" "$(EXAMPLE)" --preset "$(EXAMPLE_PRESET)" -o "$(BUILD_DIR)/renders/Pop Four Chords - Sixteenth Cascade.mid"

bench: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS) --target benchmarks
	@for b in $(BUILD_DIR)/bench/*_bench; do [ -x "$$b" ] && "$$b" || true; done

# A ThreadSanitizer build of the cross-thread tests (every *_thread_tests executable) and
# their run; not part of CI.
tsan: setup
	@cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCADENZIUM_SANITIZE=thread -DCADENZIUM_BUILD_BENCHMARKS=OFF > /dev/null
	@cmake --build $(TSAN_DIR) --parallel $(JOBS) --target thread_tests
	@cd $(TSAN_DIR) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure --parallel $(JOBS) -L threads

# The libFuzzer targets, built with clang, AddressSanitizer and UBSan in their own folder;
# not part of CI.
FUZZERS ?= v1_preset preset_file state

fuzz:
	@bash scripts/setup fuzz
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DCADENZIUM_BUILD_FUZZERS=ON -DCADENZIUM_BUILD_TESTS=OFF -DCADENZIUM_BUILD_BENCHMARKS=OFF \
		-DCADENZIUM_SANITIZE=address,undefined > /dev/null
	@cmake --build $(FUZZ_DIR) --parallel $(JOBS) --target $(addsuffix _fuzzer,$(FUZZERS))

# Each fuzzer for FUZZ_SECONDS over a scratch copy of the seed corpus in tests/fuzz/corpus
# (new inputs go to the scratch copy, crashes to $(FUZZ_DIR)/artifacts). One fuzzer alone:
# make fuzz-smoke FUZZERS=state
# The state and preset fuzzers keep one processor for the whole run, so an input that leaves
# something interned or cached would make libFuzzer scan the whole heap for leaks after it:
# leaks are looked for once, at the end of the run, instead. The entropic input scheduler
# costs more per run than most of our inputs take.
FUZZ_OPTIONS ?= -detect_leaks=0 -entropic=0
fuzz-smoke: fuzz
	@mkdir -p $(FUZZ_DIR)/artifacts
	@for f in $(FUZZERS); do \
		rm -rf $(FUZZ_DIR)/corpus/$$f && mkdir -p $(FUZZ_DIR)/corpus/$$f && \
		echo "== $$f: $(FUZZ_SECONDS) s" && \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 $(FUZZ_DIR)/tests/fuzz/$${f}_fuzzer \
			-max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 $(FUZZ_OPTIONS) \
			-artifact_prefix=$(FUZZ_DIR)/artifacts/ $(FUZZ_DIR)/corpus/$$f tests/fuzz/corpus/$$f \
			> $(FUZZ_DIR)/$$f.log 2>&1; \
		status=$$?; \
		grep -E "^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)" $(FUZZ_DIR)/$$f.log; \
		if [ $$status -ne 0 ]; then tail -n 60 $(FUZZ_DIR)/$$f.log; exit 1; fi; \
	done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(TSAN_DIR) $(ASAN_DIR) $(GUI_FUZZ_DIR)
