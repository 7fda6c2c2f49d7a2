"""Whole record databases: one module over many records on a dask.distributed cluster into a
Zarr store (run_database), and the merge of the outputs of ``spectra --shard`` job arrays into a
store of the same layout (merge_shards)."""

from .merge import merge_shards
from .run import RunSummary, run_database
from .store import DONE, FAILED, PENDING, StoreMismatch

__all__ = ["run_database", "merge_shards", "RunSummary", "StoreMismatch", "PENDING", "DONE",
           "FAILED"]
