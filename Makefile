# The two commands of the README: `make run` and `make test`. Both set up what
# is missing first, then build.
BUILD ?= build
WINBUILD ?= build-windows
JOBS ?= 2

.PHONY: setup build run test edit clean contact-sheets windows package

setup:
	@sh tools/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > $(BUILD).configure.log 2>&1 || (cat $(BUILD).configure.log; exit 1)
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/game && ./hillhopper

edit: build
	cd $(BUILD)/game && ./hillhopper-edit

# Every test of the ordinary build (display tests under Xvfb), the Windows
# build under Wine against the Linux one, the Debian package unpacked and
# started, then the sanitized logic tests, a sanitized soak and a short fuzz run.
# A test that fails is run once more: the display scripts depend on a software
# renderer keeping up with held keys; a real fault fails both times.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --repeat until-pass:2
	@$(MAKE) --no-print-directory windows || (echo "make test: FAIL: the Windows part could not be built"; exit 1)
	sh tools/windows/wine_test.sh . $(BUILD) $(WINBUILD) $(BUILD)/wine_test
	@$(MAKE) --no-print-directory package || (echo "make test: FAIL: the Debian package could not be built"; exit 1)
	sh tools/package/package_test.sh $(BUILD) $(BUILD)/package_test
	JOBS=$(JOBS) sh tools/sanitized_tests.sh $(BUILD)

# One picture per stage of screenshots along its recorded runs, and a map of
# each whole stage, in $(BUILD)/contact_sheets (for looking, not a test).
contact-sheets: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > $(BUILD).configure.log 2>&1 || (cat $(BUILD).configure.log; exit 1)
	@cmake --build $(BUILD) -j $(JOBS) --target contact_sheets

# $(WINBUILD)/hillhopper-windows.zip: the game and the editor cross-built for
# 64-bit Windows (Allegro from Debian's source package, fetched once and kept
# in $(WINBUILD)/cache), with the native build's datafiles and levels.
windows: build
	@JOBS=$(JOBS) sh tools/windows/build.sh $(BUILD) $(WINBUILD)

# $(BUILD)/hillhopper_<version>_amd64.deb
package: build
	@sh tools/package/make_deb.sh . $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD).configure.log $(BUILD)-sanitize $(WINBUILD)/game $(WINBUILD)/zip $(WINBUILD)/hillhopper-windows.zip
