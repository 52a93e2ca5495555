# Thin layer over the CMake presets. `make demo` runs the main job, `make test` every test.
SHELL := /bin/bash
WINDOWS := win32 win64

.PHONY: demo test bootstrap build bench clean

bootstrap:
	@bash tools/bootstrap.sh

build: bootstrap
	@for p in native $(WINDOWS); do cmake --preset $$p >/dev/null && cmake --build --preset $$p || exit 1; done

# The 64-bit build by default: the only one whose Wine runs on a machine without 32-bit
# user code. `make demo ARCH=win32` runs the x86 build where 32-bit Wine runs.
ARCH := win64
DEMO := build/$(ARCH)
demo: bootstrap
	@cmake --preset $(ARCH) >/dev/null && cmake --build --preset $(ARCH)
	@tools/wine-session.sh $(DEMO) bash tools/demo.sh $(DEMO)

# Native tests first, then the Windows suite of each build under its own Wine session.
test: build
	@ctest --preset native
	@for p in $(WINDOWS); do echo "== $$p"; tools/wine-session.sh build/$$p ctest --preset $$p || exit 1; done

# The caption steps natively, then the lock job through the DLL under Wine.
bench: bootstrap
	@cmake --preset bench >/dev/null && cmake --build --preset bench
	@build/bench/bench/caption_bench
	@cmake --preset $(ARCH) >/dev/null && cmake --build --preset $(ARCH)
	@tools/wine-session.sh $(DEMO) $(DEMO)/wine-run $(DEMO)/bin/lockjob_bench.exe

# The About box as it shows at 96 and 144 DPI, into docs/about-96.png and docs/about-144.png.
.PHONY: screenshots icon
screenshots: bootstrap
	@cmake --preset $(ARCH) >/dev/null && cmake --build --preset $(ARCH)
	@tools/wine-session.sh $(DEMO) tools/about-screenshots.sh $(DEMO) docs

# Redraws about/product_icon.ico from its artwork in about/product_icon.py.
icon:
	@python3 about/product_icon.py about/product_icon.ico

clean:
	rm -rf build
