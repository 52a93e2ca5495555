# Thin layer over the CMake presets. `make demo` runs the main job, `make test` every test.
SHELL := /bin/bash
WINDOWS := win32 win64

.PHONY: demo test bootstrap build native $(WINDOWS) bench clean

bootstrap:
	@bash tools/bootstrap.sh

build: bootstrap
	@for p in native $(WINDOWS); do cmake --preset $$p >/dev/null && cmake --build --preset $$p || exit 1; done

# The 64-bit build: the only one whose Wine runs on a machine without 32-bit user code.
DEMO := build/win64
demo: bootstrap
	@cmake --preset win64 >/dev/null && cmake --build --preset win64
	@tools/wine-session.sh $(DEMO) bash tools/demo.sh $(DEMO)

# Native tests first, then the Windows suite of each build under its own Wine session.
test: build
	@ctest --preset native
	@for p in $(WINDOWS); do echo "== $$p"; tools/wine-session.sh build/$$p ctest --preset $$p || exit 1; done

bench: bootstrap
	@cmake --preset bench >/dev/null && cmake --build --preset bench

# The About box as it shows at 96 and 144 DPI, into docs/about-96.png and docs/about-144.png.
.PHONY: screenshots icon
screenshots: bootstrap
	@cmake --preset win64 >/dev/null && cmake --build --preset win64
	@tools/wine-session.sh $(DEMO) tools/about-screenshots.sh $(DEMO) docs

# Redraws about/product_icon.ico from its artwork in about/product_icon.py.
icon:
	@python3 about/product_icon.py about/product_icon.ico

clean:
	rm -rf build
