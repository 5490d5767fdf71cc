#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Brings the translation sources (resources/translations/*.ts) up to date with the program's
# texts: every tr() of the sources and every caption of the .ui layouts. New texts come in
# unfinished; texts no longer used are dropped. The build turns the .ts files into .qm files
# (lrelease) and embeds them in the program. English keeps only its plural forms.
set -eu
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
SOURCES="app shell resources platform net base"
for lang in de ru; do
    "$LUPDATE" -silent -I . -no-obsolete -locations none -source-language en -target-language "$lang" \
        $SOURCES -ts "resources/translations/wirevane_$lang.ts"
done
"$LUPDATE" -silent -I . -no-obsolete -locations none -pluralonly -source-language en \
    -target-language en $SOURCES -ts resources/translations/wirevane_en.ts
# What is left to translate.
for ts in resources/translations/wirevane_*.ts; do
    printf '%s: %s unfinished\n' "$ts" "$(grep -c 'type="unfinished"' "$ts" || true)"
done
