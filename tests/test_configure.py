"""Configuring on a machine that lacks a build dependency of the PNG and PDF outputs stops with a message
naming the Debian/Ubuntu packages to install and the way to build without those outputs. Configure runs
only (no compilation), in a temporary build folder, with the dependency made unfindable."""
import os
import shutil
import subprocess
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parent.parent
HELP = ("On Debian or Ubuntu: sudo apt-get install pkg-config libcairo2-dev libdeflate-dev fonts-dejavu-core "
        "(libcairo2-dev brings FreeType and zlib). To build without PNG and PDF output instead, pass "
        "-DQC_RASTER=OFF to cmake, or -Ccmake.define.QC_RASTER=OFF to pip.")


def system_pc_files():
    done = subprocess.run(["pkg-config", "--variable", "pc_path", "pkg-config"], capture_output=True, text=True,
                          check=True)
    return [pc for folder in done.stdout.strip().split(":") if os.path.isdir(folder) for pc in Path(folder).glob("*.pc")]


def pc_folder_without(tmp_path, *modules):
    """A pkg-config search folder holding the system's modules except `modules`."""
    folder = tmp_path / "pc"
    folder.mkdir()
    for pc in system_pc_files():
        if pc.stem not in modules and not (folder / pc.name).exists():
            (folder / pc.name).symlink_to(pc)
    return folder


def configure(tmp_path, env=None, *defines):
    done = subprocess.run([shutil.which("cmake"), "-S", str(ROOT), "-B", str(tmp_path / "build"), "-G", "Ninja",
                           "-DQC_WERROR=ON", *defines], capture_output=True, text=True, timeout=300,
                          env={**os.environ, **(env or {})})
    return done.returncode, " ".join((done.stdout + done.stderr).split())  # CMake indents its message's lines


# (what is missing, how it is hidden: environment and -D settings, the message's start)
MISSING = [
    ("pkg-config", lambda tmp: ({}, ["-DPKG_CONFIG_EXECUTABLE=" + str(tmp / "no-pkg-config")]),
     "pkg-config was not found; it finds cairo, FreeType and libdeflate."),
    ("cairo", lambda tmp: ({"PKG_CONFIG_LIBDIR": str(tmp), "PKG_CONFIG_PATH": ""}, []),
     "cairo was not found by pkg-config (module 'cairo')."),
    ("libdeflate", lambda tmp: ({"PKG_CONFIG_LIBDIR": str(pc_folder_without(tmp, "libdeflate")),
                                 "PKG_CONFIG_PATH": ""}, []),
     "libdeflate was not found by pkg-config (module 'libdeflate')."),
    ("zlib", lambda tmp: ({}, ["-DCMAKE_DISABLE_FIND_PACKAGE_ZLIB=ON"]), "zlib was not found."),
    ("fonts", lambda tmp: ({}, ["-DQC_FONT_DIR=" + str(tmp)]), "/DejaVuSans.ttf is missing."),
]


@pytest.mark.parametrize("missing, hide, start", MISSING, ids=[m[0] for m in MISSING])
def test_a_missing_dependency_names_the_packages_and_the_way_without_it(missing, hide, start, tmp_path):
    env, defines = hide(tmp_path)
    code, output = configure(tmp_path, env, *defines)
    assert code != 0
    assert start + " " + HELP in output, output


def test_without_the_outputs_none_of_them_is_looked_for(tmp_path):
    code, output = configure(tmp_path, {"PKG_CONFIG_LIBDIR": str(tmp_path), "PKG_CONFIG_PATH": ""},
                             "-DQC_RASTER=OFF", "-DQC_BUILD_TESTS=OFF")
    assert code == 0, output
    assert "not found" not in output
