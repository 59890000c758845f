"""Documents built or changed in Python, saved, and read back by the tool and the C++ host."""

import subprocess

import numpy as np
import pytest

import labarc
from conftest import assert_same_points, bits, host_curves


def build_document(path, points):
    x, y, flags = points
    doc = labarc.Document("Example Plotter", 3.6)
    run = doc.add_section("Run")
    run["Title"] = "Built in Python"
    run["Gain"] = 0.1
    run["Count"] = np.int64(2)
    run["Scale"] = np.float32(0.1)  # the float32's own value, written bit for bit as a double
    run.add_entry(None, "a line without a label")
    curves = doc.add_section("Curves")
    first = curves.add_curve("Tricky", x, y, flags)
    first.set("Line Color", (255, 128, 0))
    first.set("line width", 3)  # labels in any letter case
    first.name = "Tricky one"
    curves.add_curve("Plain", [0, 1, 2], np.array([1.5, 2.5, 3.5], dtype=np.float32))
    doc.save(path)
    return doc


def test_python_document_read_by_cli_and_host(tmp_path, host, cli, tricky_points):
    path = tmp_path / "built.lbd"
    build_document(path, tricky_points)
    check = subprocess.run([cli, "check", str(path)], capture_output=True, text=True)
    assert check.returncode == 0, check.stdout + check.stderr
    curves = host_curves(host, path, "Curves", 2)
    x, y, flags = tricky_points
    assert (curves["Tricky one"][0] == bits(x)).all() and (curves["Tricky one"][1] == bits(y)).all()
    assert (curves["Tricky one"][2] == flags).all()
    assert (curves["Plain"][2] == 1).all() and (curves["Plain"][1] == bits([1.5, 2.5, 3.5])).all()


def test_python_document_round_trip(tmp_path, tricky_points):
    path = tmp_path / "built.lbd"
    build_document(path, tricky_points)
    doc = labarc.load(path, "Example Plotter")
    run = doc.sections["Run"]
    assert (run["Title"], run["Gain"], run["Count"]) == ("Built in Python", "0.1", "2")
    assert float(run["Scale"]) == float(np.float32(0.1))
    assert run.items[4].label is None and run.items[4].text == "a line without a label"
    tricky = doc.curve("Tricky one")
    assert tricky.characteristics["Line Color"] == (255, 128, 0)
    assert tricky.characteristics["Line Width"] == 3
    x, y, flags = tricky_points
    assert_same_points(tricky, (bits(x), bits(y), flags))


def test_loaded_document_saves_byte_for_byte(tmp_path, host_document):
    copy = tmp_path / "copy.lbd"
    labarc.load(host_document).save(copy)
    assert copy.read_bytes() == host_document.read_bytes()


@pytest.mark.parametrize("keep_text", [True, False])
def test_numbers_spelt_otherwise(tmp_path, host_document, keep_text):
    """Point numbers edited by hand are kept as they stood with keep_text, else saved in the
    library's spelling; the values are the same either way."""
    text = host_document.read_bytes()
    first_point_line = text.index(b"\r\n0, ") + 2
    spelt = text[:first_point_line] + b"0.0" + text[first_point_line + 1:]
    edited, copy = tmp_path / "edited.lbd", tmp_path / "copy.lbd"
    edited.write_bytes(spelt)
    doc = labarc.load(edited, keep_text=keep_text)
    assert [d.kind for d in doc.diagnostics] == (["point_line_read_otherwise"] if keep_text else [])
    doc.save(copy)
    assert copy.read_bytes() == (spelt if keep_text else text)


def test_changed_document_read_by_host(tmp_path, host, host_document):
    doc = labarc.load(host_document)
    doc.sections["Run"]["Gain"] = 7.25
    doc.curve("Probe 0").set_points(np.arange(5.0), -np.arange(5.0))
    np.negative(doc.curve("Probe 2").y, out=doc.curve("Probe 2").y)  # in place, through a view
    doc.sections["Curves"].add_curve("Added", [np.nan], [-0.0], [9])
    changed = tmp_path / "changed.lbd"
    doc.save(changed)
    curves = host_curves(host, changed, "Curves", 4)
    assert list(curves) == ["Probe 0", "Probe 1", "Probe 2", "Added"]
    assert (curves["Probe 0"][1] == bits(-np.arange(5.0))).all()
    assert (curves["Probe 2"][1] == bits(doc.curve("Probe 2").y)).all()
    assert (curves["Added"][0] == bits([np.nan])).all() and curves["Added"][2][0] == 9
    assert labarc.load(changed).sections["Run"]["Gain"] == "7.25"


@pytest.mark.parametrize("change, error, kind", [
    (lambda d: d.sections["Run"].__setitem__("Title", "two\nlines"), labarc.ArchiveError,
     "value_not_storable"),
    (lambda d: d.sections["Run"].add_entry("Note", "a\rb"), labarc.ArchiveError,
     "value_not_storable"),
    (lambda d: d.curve("Probe 0").set("Line Width", "wide"), labarc.ArchiveError, "value_refused"),
    (lambda d: d.curve("Probe 0").set("Line Color", (256, 0, 0)), labarc.ArchiveError,
     "value_refused"),
    (lambda d: d.curve("Probe 0").set("X Title", "a\r\nY Title=b"), labarc.ArchiveError,
     "value_not_storable"),
    (lambda d: d.curve("Probe 0").set("Colour", 1), KeyError, None),
    (lambda d: d.curve("Probe 0").set("Line Width", object()), TypeError, None),
    (lambda d: d.curve("Probe 0").set_points([1, 2], [1]), ValueError, None),
    (lambda d: d.curve("Probe 0").set_points([1], [1], [256]), ValueError, None),
    (lambda d: d.curve("Probe 0").set_points([1], [1], [-1]), ValueError, None),
    (lambda d: d.curve("Probe 0").set_points([1], [1], [1.5]), TypeError, None),
    (lambda d: d.curve("Probe 0").set_points([[1]], [[1]]), ValueError, None),
    (lambda d: d.curve("Probe 0").set_points(["a"], ["b"]), TypeError, None),
    (lambda d: d.sections["Curves"].add_curve("two\nlines", [1], [1]), labarc.ArchiveError,
     "value_not_storable"),
    (lambda d: d.add_section("a\nb"), labarc.ArchiveError, "value_not_storable"),
])
def test_bad_values_refused_and_nothing_changed(tmp_path, host_document, change, error, kind):
    doc = labarc.load(host_document)
    with pytest.raises(error) as raised:
        change(doc)
    if kind:
        assert raised.value.kind == kind
    unchanged = tmp_path / "unchanged.lbd"
    doc.save(unchanged)
    assert unchanged.read_bytes() == host_document.read_bytes()


def test_symbol_factor_follows_the_documents_version(tmp_path):
    # An application version below 3.52 reads factors above 6 as 4: a document of such a version
    # takes them as its readers will.
    old = labarc.Document("Example Plotter", 3.5)
    curve = old.add_section("Curves").add_curve("c", [1], [2])
    curve.set("Symbol Factor", 9)
    assert curve.characteristics["Symbol Factor"] == 4
    curve = labarc.Document("Example Plotter", 3.6).add_section("C").add_curve("c", [1], [2])
    curve.set("Symbol Factor", 9)
    assert curve.characteristics["Symbol Factor"] == 9


def test_save_replaces_only_with_a_whole_file(tmp_path, host_document):
    doc = labarc.load(host_document)
    with pytest.raises(FileNotFoundError):
        doc.save(tmp_path / "no such folder" / "x.lbd")
    occupied = tmp_path / "occupied"
    (occupied / "inside").mkdir(parents=True)
    with pytest.raises(OSError):
        doc.save(occupied)
    assert (occupied / "inside").is_dir()
    assert sorted(p.name for p in tmp_path.iterdir()) == ["host.lbd", "occupied"]  # no temporary
    target = tmp_path / "target.lbd"
    target.write_bytes(b"old")
    doc.save(target)
    assert target.read_bytes() == host_document.read_bytes() and doc.file == str(target)
