# Thin layer over lazbuild; `make test` and `make example` work on a fresh
# Debian machine (run as root, or with sudo available, for the first setup).

SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -ec

LAZBUILD ?= lazbuild
LAZFLAGS ?= -q -q --ws=gtk2
XRUN ?= xvfb-run -a

# lazbuild echoes its compiler probes even when quiet; drop those lines only.
lazbuild = echo 'lazbuild $(1)'; $(LAZBUILD) $(LAZFLAGS) $(1) 2>&1 | sed -u '/^Hint: (lazarus) \[RunTool\]/d'

.PHONY: all setup build test example bench tools clean

all: build

setup:
	@bash tools/setup.sh

build: setup
	@$(call lazbuild,package/orvane_d5.lpk)

# A build failure still ends the output with the count line.
test: setup
	@{ $(call lazbuild,package/orvane_d5.lpk) && $(call lazbuild,tests/orvtests.lpi); } \
	  || { echo '0 passed, 1 failed'; exit 1; }
	@bash tools/runtests.sh

# Command-line tools: orvinspect lists what the class infos offer.
tools: build
	@$(call lazbuild,tools/orvinspect.lpi)

example: build
	@$(call lazbuild,examples/orvdemo.lpi)
	@$(XRUN) ./examples/orvdemo

bench: build
	@$(call lazbuild,tools/orvbench.lpi)
	@$(XRUN) ./tools/orvbench

clean:
	@rm -rf package/lib tests/lib examples/lib tools/lib
	@rm -f tests/orvtests examples/orvdemo tools/orvbench tools/orvinspect tools/orvcheck
