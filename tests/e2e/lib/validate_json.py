#!/usr/bin/env python3
"""Validates JSON documents against a JSON Schema (Draft 2020-12), with python3-jsonschema.

usage: validate_json.py SCHEMA FILE...   (FILE - reads stdin)
Prints each error with the path where it is and exits 1 when any document is invalid."""
import json
import sys

import jsonschema


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as schema_file:
        schema = json.load(schema_file)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    failed = False
    for name in sys.argv[2:]:
        text = sys.stdin.read() if name == "-" else open(name, encoding="utf-8").read()
        for error in validator.iter_errors(json.loads(text)):
            failed = True
            where = "/".join(str(part) for part in error.absolute_path)
            print(f"{name}: /{where}: {error.message}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
