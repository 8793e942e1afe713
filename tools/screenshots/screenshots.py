#!/usr/bin/python3
"""Makes the README's screenshots from the real program under a private X server: the cheque
entry window filled in, the preview of the same cheque, and the window in the two stored skins
(the first with the settings panel open).

usage: tools/screenshots/screenshots.py [--program build/quillmark] [--out docs/screenshots]

Needs Xvfb, openbox, xdotool, ImageMagick and CUPS (the preview is opened with the private test
scheduler as the only printer, so the shots never depend on the machine's printers)."""

import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tools", "desktop"))
import qmdesktop  # noqa: E402

# The preview window is 1600 × 2000; the README shows its toolbar and the top of the page,
# where the cheque is printed.
PREVIEW_CROP = "1200x800+0+0"
PREVIEW_WIDTH = 900


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.path.join(SOURCE, "build", "quillmark"))
    parser.add_argument("--out", default=os.path.join(SOURCE, "docs", "screenshots"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    fixture = os.path.join(SOURCE, "tests", "support", "cups", "cups-fixture.sh")
    scratch = tempfile.mkdtemp(prefix="quillmark-shots-")
    # The scheduler's filters run as another user: its folder sits directly in /tmp.
    cups_dir = tempfile.mkdtemp(prefix="quillmark-cups-")
    server = subprocess.run(["sh", fixture, "start", cups_dir], capture_output=True, text=True,
                            check=True).stdout.strip().splitlines()[-1]
    desktop = qmdesktop.Desktop()
    try:
        settings = qmdesktop.gbk_settings(
            [("支票打印", [("付款行名称", "中国某某银行北京分行"), ("出票人账户", "110123456789")])])
        app = qmdesktop.Quillmark(desktop, args.program, settings,
                                  env={"CUPS_SERVER": server, "QUILLMARK_TODAY": "2024-10-20"})
        try:
            app.fill_in("12345.60", "办公用品费用", "北京远航科技有限公司", "远航科技")
            window_png = os.path.join(args.out, "window.png")
            desktop.screenshot(app.window, window_png)

            app.click_print()
            preview = desktop.find_window(qmdesktop.PREVIEW_TITLE, timeout=30)
            time.sleep(1.5)  # the page is drawn once it has been stored
            raw = os.path.join(scratch, "preview.png")
            desktop.screenshot(preview, raw)
            preview_png = os.path.join(args.out, "preview.png")
            subprocess.run(["convert", raw, "-crop", PREVIEW_CROP, "+repage", "-resize",
                            str(PREVIEW_WIDTH), preview_png], check=True)
            desktop.click(preview, *qmdesktop.PREVIEW_EXIT)
            desktop.find_window(qmdesktop.PREVIEW_TITLE, gone=True)

            def shot_after(buttons, name):
                # A skin button takes effect a quarter of a second after the click.
                for button in buttons:
                    desktop.click(app.window, *button)
                    time.sleep(0.6)
                path = os.path.join(args.out, name)
                desktop.screenshot(app.window, path)
                return path

            desktop.activate(app.window)
            skin1_png = shot_after([qmdesktop.SETTINGS_BUTTON, qmdesktop.SKIN1_BUTTON],
                                   "window-skin1-settings.png")
            skin2_png = shot_after([qmdesktop.SKIN2_BUTTON, qmdesktop.SETTINGS_BUTTON],
                                   "window-skin2.png")
        finally:
            app.close()
    finally:
        desktop.close()
        subprocess.run(["sh", fixture, "stop", cups_dir])
        subprocess.run(["rm", "-rf", scratch])
    print(f"wrote {window_png}, {preview_png}, {skin1_png} and {skin2_png}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
