# Thin layer over lazbuild; `make test` and `make example` work on a fresh
# Debian machine (run as root, or with sudo available, for the first setup).

SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -ec

LAZBUILD ?= lazbuild
LAZFLAGS ?= -q -q --ws=gtk2
XRUN ?= xvfb-run -a

# lazbuild echoes its compiler probes even when quiet; drop those lines only.
lazbuild = echo 'lazbuild $(1)'; $(LAZBUILD) $(LAZFLAGS) $(1) 2>&1 | sed -u '/^Hint: (lazarus) \[RunTool\]/d'

.PHONY: all setup build test example bench perf tools check clean ide ide-check palette-icons

all: build

setup:
	@bash tools/setup.sh

build: setup
	@$(call lazbuild,package/orvane_d5.lpk)

# A build failure still ends the output with the count line.
test: setup
	@{ $(call lazbuild,package/orvane_d5.lpk) && $(call lazbuild,tests/orvtests.lpi) && \
	   $(call lazbuild,tests/orvtests-vg.lpi) && bash tools/checkruntime.sh; } \
	  || { echo '0 passed, 1 failed'; exit 1; }
	@bash tools/runtests.sh

# Command-line tools: orvinspect lists what the class infos offer.
tools: build
	@$(call lazbuild,tools/orvinspect.lpi)

# orvcheck checks the links stored in form files: make check, then
# tools/orvcheck tools/samples/clean.lfm tools/samples/broken.lfm
check: build
	@$(call lazbuild,tools/orvcheck.lpi)

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

# Install the package in a Lazarus IDE and rebuild it (tools/ide.sh says
# where; by default a private copy under /tmp/orvane-ide), then check the
# rebuilt IDE's palette, context menu and double-click under a virtual
# display, with screenshots in docs/.
ide: setup
	@bash tools/ide.sh

ide-check: ide
	@bash tools/idecheck.sh

# Redraw the palette icons and the about box's picture, and rebuild the
# design package's resource from them.
palette-icons:
	@mkdir -p tools/lib
	@fpc -O1 -FEtools -FUtools/lib -otools/mkicons tools/mkicons.lpr >/dev/null
	@tools/mkicons design/images
	@lazres design/orvpalette.res design/images/torvvariable.png=TORVVARIABLE \
	  design/images/torvconnectionlist.png=TORVCONNECTIONLIST >/dev/null

clean:
	@rm -rf package/lib tests/lib examples/lib tools/lib
	@rm -f tests/orvtests tests/orvtests-vg examples/orvdemo examples/orvlinkdemo tools/orvbench tools/orvinspect tools/orvcheck tools/mkicons
