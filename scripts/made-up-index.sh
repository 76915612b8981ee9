#!/usr/bin/env bash
# The tests' made-up corpus, indexed: a few quatrains with several lines for
# each of 春风花月 at the head (so that a swap has lines to choose from).
# Writes WORK/poetry and WORK/test.idx.
# Usage: scripts/made-up-index.sh BUILD_DIR WORK
set -euo pipefail
build=$1 work=$2
mkdir -p "$work/poetry/quantangshi"
cat > "$work/poetry/quantangshi/poet.tang.0.json" <<'JSON'
[{"author": "甲", "title": "试笔", "paragraphs": ["春来山色好，风起白云长。", "花落江南水，月明孤客船。"]},
 {"author": "乙", "title": "春望", "paragraphs": ["春城三月暮，风柳满江烟。", "花开千树雪，月照一溪天。"]},
 {"author": "丙", "title": "晚眺", "paragraphs": ["春山一夜雨，风叶落长川。", "花影随人去，月华满客船。"]}]
JSON
"$build/poemd/miravel-poemd-index" --poetry "$work/poetry" --out "$work/test.idx" 2>/dev/null
