"""Builds the Python package sdofspectra: its extension module is built by this repository's
CMake tree (target _core), so it links the very libraries the MEX files and the program use.

    pip install .                          # with a package index
    pip install --no-build-isolation .     # offline, with Debian's python3-setuptools,
                                           # python3-wheel, pybind11-dev and cmake

SPECTRA_CMAKE_BUILD_DIR=<dir> reuses an existing build folder of this tree instead of a fresh
one in build/pip-cmake; SPECTRA_CMAKE_ARGS adds configure options.
"""

import os
import re
import shlex
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build import build
from setuptools.command.build_ext import build_ext

HERE = os.path.dirname(os.path.abspath(__file__))


def project_version():
    with open(os.path.join(HERE, "CMakeLists.txt")) as cmake:
        return re.search(r"project\(spectra VERSION ([0-9.]+)", cmake.read()).group(1)


def pybind11_hint():
    try:
        import pybind11
    except ImportError:
        return []  # Debian's pybind11-dev is found by CMake on its own
    return [f"-Dpybind11_DIR={pybind11.get_cmake_dir()}"]


class BuildInBuildFolder(build):
    """setuptools' own files go below build/pip, beside the CMake build folders."""

    def initialize_options(self):
        super().initialize_options()
        self.build_base = os.path.join("build", "pip")


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build_dir = os.environ.get("SPECTRA_CMAKE_BUILD_DIR") or os.path.join(HERE, "build",
                                                                              "pip-cmake")
        configure = [
            "cmake", "-S", HERE, "-B", build_dir, "-DCMAKE_BUILD_TYPE=Release",
            f"-DPython3_EXECUTABLE={sys.executable}", "-DSPECTRA_PYTHON=ON",
            *pybind11_hint(), *shlex.split(os.environ.get("SPECTRA_CMAKE_ARGS", "")),
        ]
        if not os.environ.get("SPECTRA_CMAKE_BUILD_DIR"):
            configure += ["-DSPECTRA_TESTS=OFF", "-DSPECTRA_BENCHMARKS=OFF",
                          "-DSPECTRA_OCTAVE=OFF", "-DSPECTRA_CLI=OFF"]
        subprocess.check_call(configure)
        subprocess.check_call(["cmake", "--build", build_dir, "--target", "_core", "-j",
                               str(os.cpu_count() or 1)])
        built = os.path.join(build_dir, "python", "sdofspectra")
        names = [n for n in os.listdir(built) if n.startswith("_core.") and n.endswith(".so")]
        if not names:
            raise RuntimeError(f"the CMake build left no _core module in {built}")
        target = self.get_ext_fullpath(ext.name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(os.path.join(built, names[0]), target)


setup(
    version=project_version(),
    ext_modules=[Extension("sdofspectra._core", sources=[])],
    cmdclass={"build": BuildInBuildFolder, "build_ext": CMakeBuild},
)
