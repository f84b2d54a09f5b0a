# Newcomers: `make run` builds and starts the program on its sample data; `make test` runs the tests.
PRESET ?= debug
BUILD_DIR := build/$(PRESET)
STAGE := $(CURDIR)/build/stage
PREFIX ?= /usr/local
UPDATE_URL ?= https://www.example.jp/pikotel/download/

DEB_PACKAGES := cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config xz-utils \
	qt6-base-dev qt6-svg-dev qt6-translations-l10n libsqlite3-dev libicu-dev libzip-dev \
	libgtest-dev libgmock-dev libbenchmark-dev fonts-ipaexfont-gothic xvfb xauth imagemagick \
	libreoffice-dev libreoffice-calc-nogui libreoffice-writer-nogui \
	xdg-utils desktop-file-utils appstream python3-pyatspi at-spi2-core dbus-daemon

.PHONY: deps configure build test test-asan test-long stage run install uninstall format format-check bench clean

deps:
	@missing=$$(for p in $(DEB_PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null \
		| grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing: $$missing"; \
		SUDO=$$([ "$$(id -u)" = 0 ] || echo sudo); \
		$$SUDO apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET)

test-asan:
	$(MAKE) test PRESET=asan

test-long:
	$(MAKE) build PRESET=release
	ctest --preset long

stage: build
	rm -rf $(STAGE)
	cmake --install $(BUILD_DIR) --prefix $(STAGE)
	PIKOTEL_REG=$(BUILD_DIR)/tools/pikotel-reg/pikotel-reg DESTDIR= tools/installer.sh $(STAGE) 0 "$(UPDATE_URL)"

run: stage
	$(STAGE)/bin/pikotel

# Installs what `make build` built; it never builds (so `sudo make install` writes nothing as root
# into the tree but CMake's install_manifest.txt). DESTDIR stages for a package.
install:
	@[ -x $(BUILD_DIR)/src/app/pikotel ] && [ -x $(BUILD_DIR)/tools/pikotel-reg/pikotel-reg ] || \
		{ echo "Nothing built in $(BUILD_DIR): run 'make build' first (as yourself, not as root)."; exit 1; }
	DESTDIR="$(DESTDIR)" tools/install.sh $(BUILD_DIR) $(PREFIX) "$(UPDATE_URL)"

uninstall:
	DESTDIR="$(DESTDIR)" tools/uninstall.sh $(PREFIX)

bench:
	$(MAKE) build PRESET=release
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	rm -rf build
