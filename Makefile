# Thin layer over lazbuild; `make test` and `make example` work on a fresh
# Debian machine (run as root, or with sudo available, for the first setup).

SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -ec

LAZBUILD ?= lazbuild
LAZFLAGS ?= -q -q --ws=gtk2
XRUN ?= xvfb-run -a

# lazbuild echoes its compiler probes even when quiet; drop those lines only.
lazbuild = echo 'lazbuild $(1)'; $(LAZBUILD) $(LAZFLAGS) $(1) 2>&1 | sed -u '/^Hint: (lazarus) \[RunTool\]/d'

.PHONY: all setup build test example bench perf tools check fuzz clean generate

# The binding generator and its tables: every binding unit in bindings/ is
# made from tools/gen/tables/<unit>.tbl; other tables name their output.
GEN := tools/gen/orvgen
GENFLAGS := --types=tools/gen/types.tbl --out=bindings
GENTABLES = $(sort $(wildcard tools/gen/tables/*.tbl))
# Tables of components that are not the package's: each names its output.
APPTABLES := tests/orvtestfixtures.tbl tests/orvtestgen.tbl examples/orvdemodevices.tbl \
  tools/orvbenchfixtures.tbl

all: build

setup:
	@bash tools/setup.sh

build: setup
	@$(call lazbuild,package/orvane_d5.lpk)

# Regenerate the generated units after editing a table.
generate: setup
	@$(call lazbuild,tools/gen/orvgen.lpi)
	@$(GEN) $(GENFLAGS) $(GENTABLES) $(APPTABLES)

# A build failure still ends the output with the count line, and so does a
# generated unit that differs from what its table makes (edited by hand, or
# a table edited without make generate).
test: setup
	@{ $(call lazbuild,tools/gen/orvgen.lpi) && $(GEN) --check $(GENFLAGS) $(GENTABLES) $(APPTABLES); } \
	  || { echo '0 passed, 1 failed'; exit 1; }
	@{ $(call lazbuild,package/orvane_d5.lpk) && $(call lazbuild,tests/orvtests.lpi) && \
	   $(call lazbuild,tests/orvtests-vg.lpi); } \
	  || { echo '0 passed, 1 failed'; exit 1; }
	@bash tools/runtests.sh

# Command-line tools: orvinspect lists what the class infos offer. They show
# no window, so they link the widgetset that needs no display.
tools: build
	@$(call lazbuild,--ws=nogui tools/orvinspect.lpi)

# orvcheck checks the links stored in form files: make check, then
# tools/orvcheck tools/samples/clean.lfm tools/samples/broken.lfm
check: build
	@$(call lazbuild,--ws=nogui tools/orvcheck.lpi)

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

# The benchmark's table of figures, each with its target (about a minute).
bench: build
	@$(call lazbuild,tools/orvbench.lpi)
	@$(XRUN) ./tools/orvbench

# Regenerate docs/performance.md and its plot from a benchmark run.
perf: build
	@$(call lazbuild,tools/orvbench.lpi)
	@bash tools/mkperf.sh

# Fuzz the descriptor parser and the form reader with its links: mutated
# inputs from a fixed seed, each guarded by a forked child; counts by outcome.
fuzz: build
	@$(call lazbuild,tools/fuzz/orvfuzz.lpi)
	@./tools/fuzz/orvfuzz $(FUZZFLAGS)

clean:
	@rm -rf package/lib tests/lib examples/lib tools/lib tools/gen/lib tools/fuzz/lib tools/fuzz/out
	@rm -f $(GEN) tests/orvtests tests/orvtests-vg examples/orvdemo examples/orvlinkdemo tools/orvbench \
	  tools/orvinspect tools/orvcheck tools/fuzz/orvfuzz
