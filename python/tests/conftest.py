"""Shared fixtures: the C++ programs the tests talk to, and documents they write."""

import os
import subprocess

import numpy as np
import pytest


def program(variable):
    path = os.environ.get(variable)
    if not path or not os.path.exists(path):
        pytest.skip(f"{variable} names no program (run the tests through ctest)")
    return path


@pytest.fixture
def host():
    return program("LABARC_TEST_HOST")


@pytest.fixture
def cli():
    return program("LABARC_CLI")


@pytest.fixture
def host_document(host, tmp_path):
    """A document the C++ host wrote: a "Run" section and three curves of every kind of double."""
    path = tmp_path / "host.lbd"
    subprocess.run([host, "write", str(path)], check=True)
    return path


def host_curves(host, path, section, count):
    """The curves the C++ host reads from `path`: {name: (x bits, y bits, flags)}."""
    out = subprocess.run([host, "read", str(path), section, str(count)], check=True,
                         capture_output=True, text=True).stdout.splitlines()
    curves, at = {}, 0
    while at < len(out):
        name, points = out[at].removeprefix("curve ").rsplit(" ", 1)
        rows = [line.split() for line in out[at + 1:at + 1 + int(points)]]
        curves[name] = (np.array([int(r[0], 16) for r in rows], dtype=np.uint64),
                        np.array([int(r[1], 16) for r in rows], dtype=np.uint64),
                        np.array([int(r[2]) for r in rows], dtype=np.uint8))
        at += 1 + int(points)
    return curves


def bits(values):
    return np.asarray(values, dtype=np.float64).view(np.uint64)


def assert_same_points(curve, expected):
    x, y, flags = expected
    np.testing.assert_array_equal(bits(curve.x), x)
    np.testing.assert_array_equal(bits(curve.y), y)
    np.testing.assert_array_equal(curve.flags, flags)


@pytest.fixture
def tricky_points():
    """x, y and flags holding every kind of double: signed zeros, infinities, NaNs with payloads
    and signs, subnormals, the extremes, and arbitrary bit patterns."""
    rng = np.random.default_rng(7)
    specials = np.array([0.0, -0.0, np.inf, -np.inf, np.nan, 5e-324, 1.7976931348623157e308,
                         -1.7976931348623157e308, 2.2250738585072014e-308, 0.1, 1 / 3])
    payload_nans = np.array([0x7FF8000000000001, 0xFFF0000000000ABC, 0x7FF4000000000000],
                            dtype=np.uint64).view(np.float64)
    noise = rng.integers(0, 2**64, size=500, dtype=np.uint64).view(np.float64)
    x = np.concatenate([specials, payload_nans, noise, np.linspace(0, 10, 200)])
    y = np.concatenate([payload_nans, specials, np.sin(np.arange(200.0)), noise])
    flags = (np.arange(len(x)) % 256).astype(np.uint8)
    return x, y, flags
