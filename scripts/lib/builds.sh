# Sourced by scripts/run, scripts/test, scripts/screenshots and scripts/fuzz: how each build
# folder is configured, so that all of them configure a folder alike (build/ has one set of
# flags for the window and the tests) and build-asan, which holds the ASan+UBSan tests and the
# fuzz targets, is built only once when both run.

# configure_build FOLDER [CMAKE ARGUMENTS...]
configure_build() {
  local build=$1
  shift
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROVIRO_WERROR=ON "$@" \
    >/dev/null
}

# The sanitizer builds: the core's tests, without the Qt user interface and the benchmarks.
# build-asan is made with clang so that the same objects, instrumented for coverage as well,
# also make the libFuzzer targets.
asan_build=build-asan
asan_args=(-DCMAKE_CXX_COMPILER=clang++ -DROVIRO_SANITIZE="address;undefined" -DROVIRO_FUZZ=ON
  -DROVIRO_BENCH=OFF -DROVIRO_GUI=OFF)
tsan_build=build-tsan
tsan_args=(-DROVIRO_SANITIZE=thread -DROVIRO_BENCH=OFF -DROVIRO_GUI=OFF)
