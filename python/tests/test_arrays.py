"""Curve arrays look into the document's own storage and keep the document alive."""

import gc
import subprocess
import sys
import weakref

import numpy as np

import labarc


def address(array):
    return array.__array_interface__["data"][0]


def test_arrays_share_the_documents_memory(host_document):
    doc = labarc.load(host_document)
    curve = doc.curve("Probe 2")
    x, again = curve.x, doc.curves[2].x
    assert address(x) == address(again) and np.shares_memory(x, again)
    assert not x.flags.owndata and x.base is not None
    curve.y[5] = 42.5  # a write through one view is the document's
    assert doc.curve("Probe 2").y[5] == 42.5
    assert not np.shares_memory(curve.x, curve.y)


def test_arrays_outlive_the_document_name(host_document):
    doc = labarc.load(host_document)
    x, flags = doc.curve("Probe 0").x, doc.curve("Probe 0").flags
    expected_x, expected_flags = x.copy(), flags.copy()
    tracker = weakref.ref(doc)
    del doc
    gc.collect()
    assert tracker() is None  # the Python object is gone; the arrays hold the document itself
    junk = [np.full(300, 7.0) for _ in range(200)]  # reuse of freed memory would show here
    np.testing.assert_array_equal(x.view(np.uint64), expected_x.view(np.uint64))
    np.testing.assert_array_equal(flags, expected_flags)
    del junk


def test_replaced_points_leave_taken_arrays_intact(host_document):
    doc = labarc.load(host_document)
    curve = doc.curve("Probe 0")
    old = curve.x
    before = old.copy()
    curve.set_points([1.0, 2.0], [3.0, 4.0], [0, 255])
    np.testing.assert_array_equal(old.view(np.uint64), before.view(np.uint64))
    assert list(curve.x) == [1.0, 2.0] and list(curve.flags) == [0, 255] and len(curve) == 2


def test_streamed_curve_holds_its_own_storage(host_document):
    arrays = [curve.y for curve in labarc.iter_curves(host_document)]
    gc.collect()
    assert [len(a) for a in arrays] == [300, 0, 1000]
    assert all(a.dtype == np.float64 for a in arrays)


STREAM_PEAK = r"""
import sys
import numpy
import labarc
def resident(field):
    for line in open("/proc/self/status"):
        if line.startswith(field + ":"):
            return int(line.split()[1]) * 1024
base = resident("VmRSS")
count = sum(len(curve) for curve in labarc.iter_curves(sys.argv[1]))
print(count, resident("VmHWM") - base)
"""


def stream_peak(path, curves, points):
    doc = labarc.Document("Example Plotter", 3.6)
    section = doc.add_section("Curves")
    values = np.sin(np.arange(float(points)))
    for index in range(curves):
        section.add_curve(f"c{index}", values, values * index)
    doc.save(path)
    out = subprocess.run([sys.executable, "-c", STREAM_PEAK, str(path)], check=True,
                         capture_output=True, text=True).stdout.split()
    assert int(out[0]) == curves * points
    return int(out[1])


def test_iter_curves_memory_is_bounded_by_a_curve_not_the_file(tmp_path):
    few = stream_peak(tmp_path / "few.lbd", 4, 30000)
    many = stream_peak(tmp_path / "many.lbd", 28, 30000)
    curve_text = (tmp_path / "many.lbd").stat().st_size / 28
    # 24 more curves: growing with the file would add about 24 curve texts; allocator and page
    # rounding may add a little, never several curves.
    assert many - few < 4 * curve_text, (few, many, curve_text)
