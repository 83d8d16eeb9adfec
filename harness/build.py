# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds what a script needs, as the README's commands do."""

import subprocess
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def build(targets, build_dir=None, options=()):
    """Configures and builds the CMake targets and returns the build directory:
    the default preset's build/ unless build_dir is given, which is configured
    RelWithDebInfo with the options (such as "-DZELVARO_BUILD_BENCH=ON")."""
    if build_dir is None:
        configure = ["cmake", "--preset", "default"]
        compile = ["cmake", "--build", "--preset", "default"]
        build_dir = ROOT / "build"
    else:
        build_dir = Path(build_dir).resolve()
        configure = ["cmake", "-S", str(ROOT), "-B", str(build_dir)]
        configure += ["-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DZELVARO_WERROR=ON", *options]
        compile = ["cmake", "--build", str(build_dir), "-j2"]
    subprocess.run(configure, check=True, cwd=ROOT, stdout=subprocess.DEVNULL)
    subprocess.run(compile + ["--target", *targets], check=True, cwd=ROOT)
    return build_dir
