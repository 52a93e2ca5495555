# Thin layer over the CMake presets. `make demo` runs the main job, `make test` every test.
SHELL := /bin/bash
WINDOWS := win32 win64

.PHONY: demo test bootstrap build native $(WINDOWS) bench clean

bootstrap:
	@bash tools/bootstrap.sh

build: bootstrap
	@for p in native $(WINDOWS); do cmake --preset $$p >/dev/null && cmake --build --preset $$p || exit 1; done

demo: bootstrap
	@cmake --preset win64 >/dev/null && cmake --build --preset win64
	@tools/wine-session.sh build/win64 build/win64/wine-run build/win64/bin/pinvale-host.exe info

# Native tests first, then the Windows suite of each build under its own Wine session.
test: build
	@ctest --preset native
	@for p in $(WINDOWS); do echo "== $$p"; tools/wine-session.sh build/$$p ctest --preset $$p || exit 1; done

bench: bootstrap
	@cmake --preset bench >/dev/null && cmake --build --preset bench

clean:
	rm -rf build
