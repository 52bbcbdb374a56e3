# The two commands of the README: `make run` and `make test`. Both set up what
# is missing first, then build.
BUILD ?= build
JOBS ?= 2

.PHONY: setup build run test edit clean contact-sheets

setup:
	@sh tools/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > $(BUILD).configure.log 2>&1 || (cat $(BUILD).configure.log; exit 1)
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/game && ./hillhopper

edit: build
	cd $(BUILD)/game && ./hillhopper-edit

# Every test of the ordinary build (display tests under Xvfb), then the
# sanitized logic tests, a sanitized soak and a short fuzz run.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	JOBS=$(JOBS) sh tools/sanitized_tests.sh $(BUILD)

# One picture per stage of screenshots along its recorded runs, and a map of
# each whole stage, in $(BUILD)/contact_sheets (for looking, not a test).
contact-sheets: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > $(BUILD).configure.log 2>&1 || (cat $(BUILD).configure.log; exit 1)
	@cmake --build $(BUILD) -j $(JOBS) --target contact_sheets

clean:
	rm -rf $(BUILD) $(BUILD).configure.log $(BUILD)-sanitize
