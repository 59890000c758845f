"""The type stubs and the docstrings describe the module as it is."""

import ast
from pathlib import Path

import labarc

STUBS = ast.parse((Path(__file__).parent.parent / "labarc.pyi").read_text())


def stub_names(body):
    for node in body:
        if isinstance(node, (ast.FunctionDef, ast.ClassDef)):
            yield node.name, node
        elif isinstance(node, ast.AnnAssign):
            yield node.target.id, node


def test_every_stub_exists_in_the_module():
    for name, node in stub_names(STUBS.body):
        if name.startswith("_"):
            continue
        assert hasattr(labarc, name), name
        if isinstance(node, ast.ClassDef):
            cls = getattr(labarc, name)
            for member, _ in stub_names(node.body):
                if name != "ArchiveError":  # its attributes are set per instance
                    assert hasattr(cls, member), f"{name}.{member}"


def test_every_public_name_has_a_stub_and_a_docstring():
    stubbed = {name for name, _ in stub_names(STUBS.body)}
    for name in dir(labarc):
        if name.startswith("_"):
            continue
        assert name in stubbed, name
        value = getattr(labarc, name)
        assert value.__doc__, name
        if isinstance(value, type) and value is not labarc.ArchiveError:
            for member, attribute in vars(value).items():
                if not member.startswith("_"):
                    assert attribute.__doc__, f"{name}.{member}"
