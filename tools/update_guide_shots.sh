#!/usr/bin/env bash
# Regenerates the screenshots of docs/guide.md from the end-to-end sessions.
#   tools/update_guide_shots.sh      (after a build into build/)
set -euo pipefail
cd "$(dirname "$0")/.."
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
for s in full painting tools recovery zoom english; do
  E2E_SHOTS="$shots" xvfb-run -a -s "-screen 0 800x600x24 -noreset" \
    bash "tests/e2e/${s}_session.sh" "$PWD/build/brindlecot" "$PWD"
done
mkdir -p docs/shots
cp "$shots/full-startup.png" docs/shots/startup-dialog.png
cp "$shots/full-reopened.png" docs/shots/editor.png
cp "$shots/painting-free.png" docs/shots/painting.png
cp "$shots/full-preview.png" docs/shots/preview.png
cp "$shots/full-size.png" docs/shots/size-dialog.png
cp "$shots/full-settings.png" docs/shots/settings-dialog.png
cp "$shots/full-attribute.png" docs/shots/attribute-dialog.png
cp "$shots/tools-strip.png" docs/shots/tools.png
cp "$shots/tools-bucket.png" docs/shots/tools-bucket.png
cp "$shots/tools-replace.png" docs/shots/tools-replace.png
cp "$shots/tools-aligned.png" docs/shots/tools-aligned.png
cp "$shots/recovery-quit-question.png" docs/shots/quit-unsaved.png
cp "$shots/recovery-offer.png" docs/shots/recovery-offer.png
cp "$shots/zoom-sample.png" docs/shots/zoom.png
cp "$shots/zoom-attribute.png" docs/shots/zoom-attribute.png
cp "$shots/english-lang-balloon.png" docs/shots/english.png
