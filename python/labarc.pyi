"""Documents of the labelled text archive: load them whole or curve by curve, read curves as
numpy arrays without copying, change and save them."""

import os
from typing import Iterator, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

__version__: str

_Path = Union[str, bytes, os.PathLike]
# An entry's value: text as is, a number, or a tuple of numbers (colour, rectangle, size, point).
_Value = Union[str, bytes, int, float, Tuple[Union[int, float], ...]]
_Numbers = Union[npt.ArrayLike, Sequence[float]]

class ArchiveError(ValueError):
    """A document the library refuses, or a value it will not store."""
    kind: str
    line: int
    section: str
    entry: str
    found: str
    file: str
    expected: str
    allowed: str
    curve: str
    point_index: Optional[int]
    warning: bool  # set on the entries of Document.diagnostics only
    def __init__(self, message: str, *, kind: str = ..., line: int = ..., section: str = ...,
                 entry: str = ..., found: str = ..., file: str = ..., expected: str = ...,
                 allowed: str = ..., curve: str = ..., point_index: Optional[int] = ...) -> None: ...

class Header:
    """The document's "Archive Header" values."""
    @property
    def found(self) -> bool: ...
    @property
    def archive_version(self) -> float: ...
    application: str
    application_version: float
    @property
    def line(self) -> int: ...

class Entry:
    """A plain entry line: "label=text", or text alone."""
    @property
    def label(self) -> Optional[str]: ...
    text: str
    @property
    def line(self) -> int: ...

class Composite:
    """A composite value other than a curve (a font, an axis, a window...)."""
    @property
    def kind(self) -> str: ...
    @property
    def fields(self) -> dict: ...
    @property
    def line(self) -> int: ...

class Curve:
    """A curve: its name, its characteristics and its points over the document's storage."""
    name: str
    @property
    def x(self) -> npt.NDArray[np.float64]: ...
    @property
    def y(self) -> npt.NDArray[np.float64]: ...
    @property
    def flags(self) -> npt.NDArray[np.uint8]: ...
    @property
    def characteristics(self) -> dict: ...
    @property
    def line(self) -> int: ...
    @property
    def section(self) -> str: ...
    def __len__(self) -> int: ...
    def set(self, label: str, value: _Value) -> None:
        """Sets a characteristic, checked as the curve reader checks a file."""
    def set_points(self, x: _Numbers, y: _Numbers,
                   flags: Optional[npt.ArrayLike] = None) -> None:
        """Replaces the points with copies; flags default to 1."""

_Item = Union[Entry, Composite, Curve]

class Section:
    """A section: its name and its items in order."""
    @property
    def name(self) -> str: ...
    @property
    def line(self) -> int: ...
    @property
    def items(self) -> list[_Item]: ...
    @property
    def curves(self) -> list[Curve]: ...
    def __len__(self) -> int: ...
    def __contains__(self, label: str) -> bool: ...
    def __getitem__(self, label: str) -> str: ...
    def __setitem__(self, label: str, value: _Value) -> None: ...
    def add_entry(self, label: Optional[str], value: _Value) -> Entry:
        """Adds an entry at the end (label None: the value alone on its line)."""
    def add_curve(self, name: str, x: _Numbers, y: _Numbers,
                  flags: Optional[npt.ArrayLike] = None) -> Curve:
        """Adds a curve at the end with copies of the points."""

class Sections:
    """A document's sections in file order; also by name, in any letter case."""
    def __len__(self) -> int: ...
    def __getitem__(self, key: Union[int, str]) -> Section: ...
    def __contains__(self, name: str) -> bool: ...
    def __iter__(self) -> Iterator[Section]: ...
    def names(self) -> list[str]: ...

class Document:
    """A whole document in memory."""
    def __init__(self, application: str, application_version: float) -> None:
        """A new document with only its header."""
    @property
    def header(self) -> Header: ...
    @property
    def sections(self) -> Sections: ...
    @property
    def curves(self) -> list[Curve]: ...
    def curve(self, name: str) -> Curve:
        """The first curve of this name; KeyError if none."""
    @property
    def diagnostics(self) -> list[ArchiveError]: ...
    @property
    def file(self) -> str: ...
    def add_section(self, name: str) -> Section:
        """Adds a section at the end."""
    def save(self, path: _Path) -> None:
        """Writes the document; the old file is replaced only by a complete new one."""

class CurveStream(Iterator[Curve]):
    def __iter__(self) -> "CurveStream": ...
    def __next__(self) -> Curve: ...

def load(path: _Path, application: Optional[str] = None, *, strict: bool = True,
         keep_text: bool = False) -> Document:
    """Loads a whole document; ArchiveError for its first error unless strict is False. With
    keep_text, numbers spelt otherwise than the library writes them are kept for saving."""

def iter_curves(path: _Path, application: Optional[str] = None) -> CurveStream:
    """Yields the curves of a file one at a time, in bounded memory."""
