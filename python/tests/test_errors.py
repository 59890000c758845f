"""Spoiled files: ArchiveError says what, where and what stood there."""

import pytest

import labarc

FIRST_X_LINE = (b"0, -0, inf, -inf, nan, 5e-324, 1.7976931348623157e+308, "
                b"-1.7976931348623157e+308, 2.2250738585072014e-308, 0.1, 0.3333333333333333, "
                b"-123456789.125, ")


def spoil(text, case):
    if case == "point value":
        return text.replace(b"0, -0, inf", b"0, zz, inf", 1)
    if case == "short point line":
        return text.replace(FIRST_X_LINE, b"0, -0", 1)
    if case == "characteristic":
        return text.replace(b"Line Width=1", b"Line Width=wide", 1)
    if case == "colour":
        return text.replace(b"Line Color=0 90 200", b"Line Color=0 90", 1)
    if case == "newer format":
        return text.replace(b"Archive Version Number=1.03", b"Archive Version Number=9.5")
    if case == "no header":
        return text.split(b"[Run]\r\n", 1)[1]
    raise AssertionError(case)


@pytest.mark.parametrize("case, kind, line, section, entry, found, curve, point", [
    ("point value", "value_refused", 40, "Curves", "x values", " zz", "Probe 0", 1),
    ("short point line", "too_few_values", 40, "Curves", "x values", "", "Probe 0", 2),
    ("characteristic", "value_refused", 25, "Curves", "Line Width", "wide", "Probe 0", None),
    ("colour", "value_refused", 26, "Curves", "Line Color", "0 90", "Probe 0", None),
    ("newer format", "newer_format", 2, "Archive Header", "Archive Version Number", "9.5", "",
     None),
    ("no header", "no_header", None, "Curves", "", "", "", None),
])
def test_spoiled_file(tmp_path, host_document, case, kind, line, section, entry, found, curve,
                      point):
    path = tmp_path / "spoiled.lbd"
    path.write_bytes(spoil(host_document.read_bytes(), case))
    with pytest.raises(labarc.ArchiveError) as raised:
        labarc.load(path)
    error = raised.value
    assert isinstance(error, ValueError)
    assert (error.kind, error.section, error.entry, error.found) == (kind, section, entry, found)
    assert (error.curve, error.point_index, error.file) == (curve, point, str(path))
    if line is not None:
        assert error.line == line and f"{path}:{line}:" in str(error)

    # Not strict: the document loads with the problem noted, nothing of the file lost.
    doc = labarc.load(path, strict=False)
    assert [d.kind for d in doc.diagnostics if not d.warning] == [kind]


def test_stream_yields_curves_before_the_error(tmp_path, host_document):
    path = tmp_path / "spoiled.lbd"
    path.write_bytes(host_document.read_bytes().replace(b"Line Width=1", b"Line Width=x", 3))
    stream = labarc.iter_curves(path)
    with pytest.raises(labarc.ArchiveError) as raised:
        list(stream)
    assert raised.value.entry == "Line Width"


def test_other_application(host_document):
    with pytest.raises(labarc.ArchiveError) as raised:
        labarc.load(host_document, application="Other Plotter")
    assert raised.value.kind == "other_application" and raised.value.found == "Example Plotter"
    with pytest.raises(labarc.ArchiveError):
        next(labarc.iter_curves(host_document, "Other Plotter"))


@pytest.mark.parametrize("opener", [labarc.load, labarc.iter_curves])
def test_missing_file_and_folder(tmp_path, opener):
    with pytest.raises(FileNotFoundError) as raised:
        opener(tmp_path / "missing.lbd")
    assert raised.value.filename == str(tmp_path / "missing.lbd")
    with pytest.raises(IsADirectoryError):
        opener(tmp_path)
