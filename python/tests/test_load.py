"""Loading documents: what a C++ host wrote comes into Python whole and bit for bit."""

import gc
import subprocess

import numpy as np
import pytest

import labarc
from conftest import assert_same_points, host_curves, program


def test_host_document_structure(host_document):
    doc = labarc.load(host_document, "Example Plotter")
    assert (doc.header.application, doc.header.application_version) == ("Example Plotter", 3.6)
    assert doc.header.archive_version == 1.03 and doc.header.found
    assert doc.sections.names() == ["Archive Header", "Run", "Curves"]
    run = doc.sections["RUN"]  # section names in any letter case
    assert run.name == "Run" and "gain" in run and "Missing" not in run
    assert run["GAIN"] == "2.5"
    assert [(e.label, e.text, e.line) for e in run.items] == [
        ("Title", "Calibration run", 6), ("Gain", "2.5", 7)]
    assert [c.name for c in doc.curves] == ["Probe 0", "Probe 1", "Probe 2"]
    assert doc.curve("Probe 2").line > doc.curve("Probe 0").line == 9
    with pytest.raises(KeyError):
        doc.curve("probe 0")  # curve names are values: exact
    with pytest.raises(KeyError):
        doc.sections["Nowhere"]
    assert doc.diagnostics == []


def test_host_curves_bit_exact(host, host_document):
    doc = labarc.load(host_document)
    expected = host_curves(host, host_document, "Curves", 3)
    for curve in doc.curves:
        assert curve.x.dtype == np.float64 and curve.flags.dtype == np.uint8
        assert len(curve) == len(expected[curve.name][0])
        assert_same_points(curve, expected[curve.name])


def test_characteristics(host_document):
    curve = labarc.load(host_document).curve("Probe 2")
    traits = curve.characteristics
    assert traits["Line Color"] == (20, 90, 200)
    assert traits["Entity Key"] == "Reactor 2" and traits["X Title"] == "Time (s)"
    assert traits["Line Width"] == 1 and traits["X Increment Type"] == "N"
    assert "Curve Name" not in traits and "Number Of Curve Points" not in traits
    assert len(traits) == 28  # 29 entries, "Symbol Deselect Color" twice


def test_example_document_composites(tmp_path):
    example = program("LABARC_EXAMPLE")
    path = tmp_path / "example.lbd"
    subprocess.run([example, str(path)], check=True, capture_output=True)
    doc = labarc.load(path)
    assert [len(c) for c in doc.curves] == [200, 200, 200]
    t = np.arange(200) * 0.1
    np.testing.assert_allclose(doc.curve("Reference").y, 0.4 * t * t - 30, rtol=0, atol=1e-12)
    kinds = [item.kind for s in doc.sections for item in s.items
             if isinstance(item, labarc.Composite)]
    assert kinds == ["text", "tracker", "geometry", "axis", "axis", "window", "results window"]
    text = doc.sections["Chart"].items[0].fields
    assert text["Text Color"] == (0, 0, 128) and text["Text Obj Bnd"] == (40, 0, 280, 18)
    assert text["font"]["Face Name"] == "Helvetica" and text["font"]["Weight"] == 700
    axis = doc.sections["Graph"].items[1].fields
    assert axis["text"]["Text Wording"] == "Time (s)" and isinstance(axis["tick mark"], dict)


def test_iter_curves_matches_load(host, host_document):
    expected = host_curves(host, host_document, "Curves", 3)
    streamed = list(labarc.iter_curves(host_document))
    assert [(c.name, c.section) for c in streamed] == [
        ("Probe 0", "Curves"), ("Probe 1", "Curves"), ("Probe 2", "Curves")]
    for curve in streamed:
        assert_same_points(curve, expected[curve.name])


def test_iter_curves_stopped_early(host_document):
    for _ in range(20):  # each abandoned stream's thread ends without taking the process down
        stream = labarc.iter_curves(host_document)
        first = next(stream)
        del stream
        gc.collect()
        assert first.name == "Probe 0" and len(first.x) == 300
