#!/usr/bin/env bash
# Rewrites every expected report from its engine data with the oracle. The
# arguments of each line are those the golden test runs the program with
# (tests/e2e/GoldenReportTest.cpp): income kind, edition, and whether the
# program folder holds SUPPORT.INF.
set -euo pipefail
cd "$(dirname "$0")"
oracle=./make_expected.py
python3 "$oracle" blue-general.json blue-general.expected.xml \
  --income-kind 1 --edition std --function-id 7 --support SUPPORT.INF
python3 "$oracle" white-general.json white-general.expected.xml \
  --income-kind 2 --edition std --function-id 7 --support SUPPORT.INF
python3 "$oracle" blue-real-estate.json blue-real-estate.expected.xml \
  --income-kind 3 --edition net --function-id 7 --support SUPPORT.INF
python3 "$oracle" white-real-estate.json white-real-estate.expected.xml \
  --income-kind 3 --edition net --function-id 7
