# Convenience targets for those who like make; the scripts do the work.
.PHONY: all setup build test run screenshots bench clean
all: build
setup:
	scripts/setup
build:
	scripts/build all
test:
	./test
run:
	./run
screenshots:
	scripts/build x64 && scripts/screenshots
bench:
	scripts/build x64 && scripts/bench
clean:
	rm -rf build/x64 build/i686
