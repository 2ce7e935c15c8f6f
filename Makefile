# Thin layer over lazbuild; `make test` and `make example` work on a fresh
# Debian machine (run as root, or with sudo available, for the first setup).

SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -ec

LAZBUILD ?= lazbuild
LAZFLAGS ?= -q -q --ws=gtk2
XRUN ?= xvfb-run -a

# lazbuild echoes its compiler probes even when quiet; drop those lines only.
# Braced so that `$(call lazbuild,a) && $(call lazbuild,b)` stops at a failed a.
lazbuild = { echo 'lazbuild $(1)'; $(LAZBUILD) $(LAZFLAGS) $(1) 2>&1 | sed -u '/^Hint: (lazarus) \[RunTool\]/d'; }

.PHONY: all setup build test example bench perf tools check graph fuzz clean generate screenshots icons ide ide-check palette-icons

# The binding generator and its tables: every binding unit in bindings/ is
# made from tools/gen/tables/<unit>.tbl; other tables name their output.
GEN := tools/gen/orvgen
GENFLAGS := --types=tools/gen/types.tbl --out=bindings
GENTABLES = $(sort $(wildcard tools/gen/tables/*.tbl))
# Tables of components that are not the package's: each names its output.
APPTABLES := tests/orvtestfixtures.tbl tests/orvtestgen.tbl examples/orvdemodevices.tbl \
  tools/bench/orvbenchfixtures.tbl

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
	   $(call lazbuild,tests/orvtests-vg.lpi) && $(call lazbuild,tools/graph/orvgraph.lpi) && \
	   bash tools/checkruntime.sh; } \
	  || { echo '0 passed, 1 failed'; exit 1; }
	@bash tests/runtests.sh

# Command-line tools: orvinspect lists what the class infos offer. They show
# no window, so they link the widgetset that needs no display.
tools: build
	@$(call lazbuild,--ws=nogui tools/inspect/orvinspect.lpi)

# orvcheck checks the links stored in form files: make check, then
# tools/check/orvcheck tools/check/samples/clean.lfm tools/check/samples/broken.lfm
check: build
	@$(call lazbuild,--ws=nogui tools/check/orvcheck.lpi)

# orvgraph draws the links of form files as a Graphviz graph and reports
# loops, double writers and links that never fire; it reads text only, so
# it needs neither the package nor a widgetset: make graph, then
# tools/graph/orvgraph --check tools/graph/samples/loop.lfm
graph: setup
	@$(call lazbuild,tools/graph/orvgraph.lpi)

# The link application: a window wired only by the links in its form file.
# With a display it opens for a person; without one, or under CI, it runs
# its self-check under xvfb-run (as --self-check does anywhere), saves
# docs/orvlinkapp.png and fails unless every outcome held.
example: build
	@$(call lazbuild,examples/orvlinkapp.lpi)
	@if [ -n "$$DISPLAY" ] && [ -z "$$CI" ]; then ./examples/orvlinkapp; \
	 else $(XRUN) ./examples/orvlinkapp --self-check; fi

# The console link demo: a data module's form file wires components together
# with links; the program prints what the links do as it turns a thermostat up.
.PHONY: example-console
example-console: build
	@$(call lazbuild,examples/orvlinkdemo.lpi)
	@$(XRUN) ./examples/orvlinkdemo

# The wiring demo: an application opens the editor windows at run time on
# its own components; --selftest clicks through them and prints the result.
.PHONY: example-wiring
example-wiring: build
	@$(call lazbuild,examples/orvwiring.lpi)
	@cfg=$$(mktemp -d); XDG_CONFIG_HOME=$$cfg $(XRUN) ./examples/orvwiring --selftest; rm -rf $$cfg

# The first metadata demo: one class info declared from descriptor strings.
.PHONY: example-metadata
example-metadata: build
	@$(call lazbuild,examples/orvdemo.lpi)
	@$(XRUN) ./examples/orvdemo

# Features by name from code: a component, and a TStringList through a variable.
# Like the command-line tools, these show no window and link the widgetset
# that needs no display.
.PHONY: example-byname example-check
example-byname: build
	@$(call lazbuild,--ws=nogui examples/orvbyname.lpi)
	@./examples/orvbyname

# An application checks its own form files with its own classes registered.
example-check: build
	@$(call lazbuild,--ws=nogui examples/orvcheckforms.lpi)
	@./examples/orvcheckforms

# The benchmark's table of figures, each with its target (about a minute).
bench: build
	@$(call lazbuild,tools/bench/orvbench.lpi)
	@$(XRUN) ./tools/bench/orvbench

# Regenerate docs/performance.md and its plot from a benchmark run.
perf: build
	@$(call lazbuild,tools/bench/orvbench.lpi)
	@bash tools/bench/mkperf.sh

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

# Pictures of the editor windows for the README, each filled with a link.
# Window places go to a scratch folder, so every picture shows the designed
# place and size.
screenshots: build
	@$(call lazbuild,tools/orvshots.lpi)
	@cfg=$$(mktemp -d); XDG_CONFIG_HOME=$$cfg $(XRUN) -s '-screen 0 1024x768x24' ./tools/orvshots docs; rm -rf $$cfg

# Redraw the connections editor's icons into editors/icons and its form file.
icons: setup
	@$(call lazbuild,tools/orvicons.lpi)
	@$(XRUN) ./tools/orvicons editors/icons editors/orvcsdlg.lfm
	@touch editors/orvcsdlg.pas # the compiler does not see a changed form file

# Fuzz the descriptor parser and the form reader with its links: mutated
# inputs from a fixed seed, each guarded by a forked child; counts by outcome.
# No window: the widgetset that needs no display.
fuzz: build
	@$(call lazbuild,--ws=nogui tools/fuzz/orvfuzz.lpi)
	@./tools/fuzz/orvfuzz $(FUZZFLAGS)

clean:
	@rm -rf package/lib tests/lib examples/lib tools/*/lib tools/lib tools/fuzz/out
	@rm -f $(GEN) tests/orvtests tests/orvtests-vg examples/orvdemo examples/orvlinkdemo examples/orvlinkapp examples/orvbyname \
	  examples/orvcheckforms tools/bench/orvbench tools/inspect/orvinspect tools/check/orvcheck tools/graph/orvgraph \
	  tools/fuzz/orvfuzz examples/orvwiring tools/orvshots tools/orvicons tools/mkicons
