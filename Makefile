# The README's commands: `make run` opens the program, `make test` builds and
# runs every test. Both install the Debian packages they need first.
BUILD     ?= build
ASAN_BUILD ?= build-asan
JOBS      ?= $(shell nproc)
WERROR    ?= OFF
CMAKE     := cmake --log-level=WARNING
CMAKE_ARGS := -DHOURWRIGHT_WERROR=$(WERROR)
MAKEFLAGS += --no-print-directory

.PHONY: all deps build test run sanitize format format-check clean

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

# The core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@$(CMAKE) -S . -B $(ASAN_BUILD) $(CMAKE_ARGS) -DHOURWRIGHT_SANITIZE=ON \
		-DHOURWRIGHT_BUILD_UI=OFF -DCMAKE_BUILD_TYPE=Debug
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

format:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.hpp' | xargs -r clang-format -i

format-check:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.hpp' | xargs -r clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
