"""The items of a database run: record files (or pairs of them for the two-component modules)
found from the paths given, in the order the command-line program's --shard sorts them, each
named after its file stems."""

import os
from typing import NamedTuple, Tuple

#: The modules that take two horizontal components per analysis.
TWO_COMPONENT_MODULES = ("elastic2d", "fps2d", "lrb2d")


class Item(NamedTuple):
    """One analysis: its name in the store and its record file(s)."""

    name: str
    files: Tuple[str, ...]


def components_of(module):
    return 2 if module in TWO_COMPONENT_MODULES else 1


def expand_paths(paths):
    """The record files named by ``paths``: a file as given, a folder as its files (not hidden,
    not in subfolders) sorted by name. FileNotFoundError for a path that does not exist."""
    files = []
    for path in map(os.fspath, paths):
        if os.path.isdir(path):
            files.extend(sorted(os.path.join(path, n) for n in os.listdir(path)
                                if not n.startswith(".")
                                and os.path.isfile(os.path.join(path, n))))
        elif os.path.exists(path):
            files.append(path)
        else:
            raise FileNotFoundError(f"{path}: no such record file or folder")
    return files


def item_name(files):
    """The stems of the files joined by "+": the name the command-line program gives the
    record's output in a batch."""
    return "+".join(os.path.splitext(os.path.basename(f))[0] for f in files)


def plan_items(records, module):
    """The items of a run, sorted by their paths (as ``spectra --shard`` sorts a batch).

    records: paths of record files or folders; for a two-component module the files are taken
    in consecutive pairs in the order given (a folder's files sorted by name: A_x, A_y, B_x,
    B_y, ...), or given as pairs (tuples of two paths). ValueError for an odd number of files
    and for two items of the same name.
    """
    per = components_of(module)
    if isinstance(records, (str, os.PathLike)):
        records = [records]
    records = list(records)
    if per == 2 and records and all(isinstance(r, (tuple, list)) for r in records):
        groups = [tuple(map(os.fspath, r)) for r in records]
        if any(len(g) != 2 for g in groups):
            raise ValueError(f"{module}: each pair holds two record files (the two components)")
    else:
        files = expand_paths(records)
        if len(files) % per:
            raise ValueError(f"{module} takes two record files per analysis (the two "
                             f"components), got {len(files)} files")
        groups = [tuple(files[i:i + per]) for i in range(0, len(files), per)]
    if not groups:
        raise ValueError("no record files: give record files or folders holding them")
    return sorted_items(groups)


def sorted_items(groups):
    """Items of the file groups sorted by their paths; ValueError for two items of the same name
    (their stems), which a store could not tell apart."""
    items = sorted((Item(item_name(g), tuple(g)) for g in groups), key=lambda item: item.files)
    seen = {}
    for item in items:
        if item.name in seen:
            raise ValueError(f"{seen[item.name]} and {item.files[0]} would both be stored as "
                             f"record '{item.name}': rename one of them")
        seen[item.name] = item.files[0]
    return items
