# The README's commands: `make run` opens the program, `make test` builds and
# runs every test. Both install the Debian packages they need first.
BUILD     ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
WIN_BUILD ?= build-windows
PACKAGE_BUILD ?= build-package
PREFIX    ?= /usr/local
FUZZ_SECONDS ?= 60
JOBS      ?= $(shell nproc)
WERROR    ?= OFF
CMAKE     := cmake --log-level=WARNING
CMAKE_ARGS := -DHOURWRIGHT_WERROR=$(WERROR)
MAKEFLAGS += --no-print-directory

.PHONY: all deps build test run install package sanitize fuzz bench bench-schedule bench-reader bench-build \
	windows-test format format-check clean

all: build

deps:
	@scripts/install-deps build

build: deps
	@$(CMAKE) -S . -B $(BUILD) $(CMAKE_ARGS)
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@$(BUILD)/src/app/hourwright

# Installs the programs, the desktop menu entry, the icons, the task-list file
# type and the AppStream data under PREFIX.
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package $(PACKAGE_BUILD)/hourwright_VERSION_ARCH.deb: a Release build
# of its own with Debian's hardening flags, packed by CPack (scripts/check-package
# checks and tries it).
package: export DEB_BUILD_MAINT_OPTIONS := hardening=+all
package:
	@scripts/install-deps build package
	@$(CMAKE) -S . -B $(PACKAGE_BUILD) $(CMAKE_ARGS) -DCMAKE_BUILD_TYPE=Release \
		-DBUILD_TESTING=OFF -DHOURWRIGHT_PACKAGE=ON \
		"-DCMAKE_CXX_FLAGS=$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
		"-DCMAKE_EXE_LINKER_FLAGS=$$(dpkg-buildflags --get LDFLAGS)"
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	@rm -f $(PACKAGE_BUILD)/hourwright_*.deb
	@cd $(PACKAGE_BUILD) && cpack -G DEB

# The core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@$(CMAKE) -S . -B $(ASAN_BUILD) $(CMAKE_ARGS) -DHOURWRIGHT_SANITIZE=ON \
		-DHOURWRIGHT_BUILD_UI=OFF -DCMAKE_BUILD_TYPE=Debug
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The fuzz targets under libFuzzer for FUZZ_SECONDS in all, half each: the
# plugin reader's, seeded from the test plugins, and the load order readers'
# (openmw.cfg, Morrowind.ini, BSA). Inputs that fail land in fuzz/artifacts/.
fuzz:
	@scripts/install-deps build fuzz
	@$(CMAKE) -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DHOURWRIGHT_FUZZ=ON \
		-DHOURWRIGHT_SANITIZE=ON -DHOURWRIGHT_BUILD_UI=OFF -DBUILD_TESTING=OFF $(CMAKE_ARGS)
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target plugin_reader_fuzz load_order_fuzz
	@mkdir -p fuzz/corpus/plugin fuzz/corpus/load_order fuzz/artifacts
	@$(FUZZ_BUILD)/fuzz/plugin_reader_fuzz -max_total_time=$$(( $(FUZZ_SECONDS) / 2 )) \
		-max_len=65536 -artifact_prefix=fuzz/artifacts/ -print_final_stats=1 \
		fuzz/corpus/plugin fuzz/regressions tests/data/plugins
	@$(FUZZ_BUILD)/fuzz/load_order_fuzz -max_total_time=$$(( $(FUZZ_SECONDS) - $(FUZZ_SECONDS) / 2 )) \
		-max_len=16384 -artifact_prefix=fuzz/artifacts/ -print_final_stats=1 \
		fuzz/corpus/load_order fuzz/load_order_regressions

# The benchmarks, in a Release build of their own.
bench: bench-build
	@$(BENCH_BUILD)/bench/plugin_bench
	@$(BENCH_BUILD)/bench/plugin_write_bench
	@$(BENCH_BUILD)/bench/index_bench
	@$(BENCH_BUILD)/bench/schedule_bench
	@QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/bench/window_bench

# The schedule command's benchmark alone, then the whole program against
# `sort -f` on a list of a million entries, timed by hyperfine.
bench-schedule: bench-build
	@$(BENCH_BUILD)/bench/schedule_bench
	@list=$$(mktemp) && $(BENCH_BUILD)/bench/schedule_bench --write-list 1000000 $$list && \
		hyperfine -N --warmup 1 "sort -f $$list" \
			"$(BENCH_BUILD)/src/cli/hourwright-cli schedule --npc x $$list"; \
		status=$$?; rm -f $$list; exit $$status

# The game-data reader as whole programs against cat, with a warm and a cold
# page cache, and its peak memory (bench/measure-reader).
bench-reader: bench-build
	@BENCH_BUILD=$(BENCH_BUILD) bench/measure-reader

bench-build:
	@scripts/install-deps build bench
	@$(CMAKE) -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DHOURWRIGHT_BENCH=ON \
		-DBUILD_TESTING=OFF $(CMAKE_ARGS)
	@cmake --build $(BENCH_BUILD) -j $(JOBS)

# The core, the platform layer and hourwright-cli with their tests, built for
# Windows with MinGW-w64 and run under Wine in a Wine prefix of their own.
# Wine names files on disk in the locale's character set, so the tests run
# under a UTF-8 locale whatever the caller's is.
windows-test:
	@scripts/install-deps windows
	@$(CMAKE) -S . -B $(WIN_BUILD) --toolchain cmake/mingw-w64-x86_64.cmake \
		-DHOURWRIGHT_BUILD_UI=OFF $(CMAKE_ARGS)
	@cmake --build $(WIN_BUILD) -j $(JOBS)
	@cd $(WIN_BUILD) && export WINEPREFIX="$$PWD/wineprefix" WINEDEBUG=-all LC_ALL=C.UTF-8 \
		WINEDLLOVERRIDES="mscoree,mshtml=" && wineboot -i >/dev/null 2>&1 && \
		{ ctest --output-on-failure -j $(JOBS); status=$$?; wineserver -k; exit $$status; }

format:
	@scripts/install-deps format
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.hpp' | xargs -r clang-format -i

format-check:
	@scripts/install-deps format
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.hpp' | xargs -r clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) $(WIN_BUILD) $(PACKAGE_BUILD)
