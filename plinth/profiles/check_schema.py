#!/usr/bin/env python3
"""Checks the shipped profiles against the profile schema:
check_schema.py <schema> <profile>..."""
import json
import sys

import jsonschema

schema = json.load(open(sys.argv[1], encoding="utf-8"))
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)
failed = False
for path in sys.argv[2:]:
    for error in validator.iter_errors(json.load(open(path, encoding="utf-8"))):
        failed = True
        print(f"{path}: {'.'.join(str(p) for p in error.absolute_path) or 'the profile'}: {error.message}")
sys.exit(1 if failed else 0)
