# Thin layer over lazbuild; `make test` and `make example` work on a fresh
# Debian machine (run as root, or with sudo available, for the first setup).

SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -ec

LAZBUILD ?= lazbuild
LAZFLAGS ?= -q -q --ws=gtk2
XRUN ?= xvfb-run -a

# lazbuild echoes its compiler probes even when quiet; drop those lines only.
lazbuild = echo 'lazbuild $(1)'; $(LAZBUILD) $(LAZFLAGS) $(1) 2>&1 | sed -u '/^Hint: (lazarus) \[RunTool\]/d'

.PHONY: all setup build test example bench perf tools check clean

all: build

setup:
	@bash tools/setup.sh

build: setup
	@$(call lazbuild,package/orvane_d5.lpk)

# A build failure still ends the output with the count line.
test: setup
	@{ $(call lazbuild,package/orvane_d5.lpk) && $(call lazbuild,tests/orvtests.lpi) && \
	   $(call lazbuild,tests/orvtests-vg.lpi); } \
	  || { echo '0 passed, 1 failed'; exit 1; }
	@bash tests/runtests.sh

# Command-line tools: orvinspect lists what the class infos offer.
tools: build
	@$(call lazbuild,tools/inspect/orvinspect.lpi)

# orvcheck checks the links stored in form files: make check, then
# tools/check/orvcheck tools/check/samples/clean.lfm tools/check/samples/broken.lfm
check: build
	@$(call lazbuild,tools/check/orvcheck.lpi)

# The link demo: a data module's form file wires components together with
# links; the program prints what the links do as it turns a thermostat up.
example: build
	@$(call lazbuild,examples/orvlinkdemo.lpi)
	@$(XRUN) ./examples/orvlinkdemo

# The first metadata demo: one class info declared from descriptor strings.
.PHONY: example-metadata
example-metadata: build
	@$(call lazbuild,examples/orvdemo.lpi)
	@$(XRUN) ./examples/orvdemo

# Features by name from code: a component, and a TStringList through a variable.
.PHONY: example-byname example-check
example-byname: build
	@$(call lazbuild,examples/orvbyname.lpi)
	@./examples/orvbyname

# An application checks its own form files with its own classes registered.
example-check: build
	@$(call lazbuild,examples/orvcheckforms.lpi)
	@./examples/orvcheckforms

# The benchmark's table of figures, each with its target (about a minute).
bench: build
	@$(call lazbuild,tools/bench/orvbench.lpi)
	@$(XRUN) ./tools/bench/orvbench

# Regenerate docs/performance.md and its plot from a benchmark run.
perf: build
	@$(call lazbuild,tools/bench/orvbench.lpi)
	@bash tools/bench/mkperf.sh

clean:
	@rm -rf package/lib tests/lib examples/lib tools/*/lib
	@rm -f tests/orvtests tests/orvtests-vg examples/orvdemo examples/orvlinkdemo examples/orvbyname examples/orvcheckforms tools/bench/orvbench tools/inspect/orvinspect tools/check/orvcheck
