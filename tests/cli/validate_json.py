#!/usr/bin/env python3
"""Checks velmora-drive's JSON documents against its schema, with Debian's python3-jsonschema.

    validate_json.py SCHEMA DOCUMENT...     each DOCUMENT a file holding one JSON document

Prints each document that does not match, with where and why, and exits 1 if any does not (or the
schema itself is not a valid JSON Schema).
"""
import json
import sys

from jsonschema import Draft202012Validator

with open(sys.argv[1], encoding="utf-8") as schema_file:
    schema = json.load(schema_file)
Draft202012Validator.check_schema(schema)
validator = Draft202012Validator(schema)



def deepest(errors):
    """The error furthest into the document, also among those under a oneOf: it says most."""
    found = None
    for error in errors:
        for candidate in [error, deepest(error.context)]:
            if candidate is not None and (
                    found is None or len(candidate.absolute_path) > len(found.absolute_path)):
                found = candidate
    return found


failed = 0
for path in sys.argv[2:]:
    with open(path, encoding="utf-8") as document_file:
        document = json.load(document_file)
    error = deepest(validator.iter_errors(document))
    if error is not None:
        failed += 1
        where = "/".join(str(part) for part in error.absolute_path)
        print(f"{path}: at /{where}: {error.message}")
sys.exit(1 if failed else 0)
