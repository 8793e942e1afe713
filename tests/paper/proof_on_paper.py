#!/usr/bin/python3
"""Proof on paper: drives the real program like a person under a private X server with a window
manager, with a private CUPS scheduler as its only printer, prints a cheque from the preview on
each of the scheduler's two queues (twice, with another stub purpose in between), and measures
every printed field in the PDF against the position the print layout promises:

    left edge (left-aligned) or centre (centred, on its box) at
        10 mm + (base left + 4 × right offset [+ box / 2]) × 25.4 / 96 mm     within ±0.1 mm
        (a centred field has half a report pixel more play: its half-width division truncates)
    top of the character cell at
        10 mm + (base top + 4 × down offset) × 25.4 / 96 mm                   within ±0.3 mm

Also: an offset of "1.5" stops the print with a message box and opens no preview.

usage: proof_on_paper.py QUILLMARK CAPITALS SOURCE_DIR [--keep DIR]"""

import argparse
import glob
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time

MM_PER_PX = 25.4 / 96
MM_PER_PT = 25.4 / 72
MARGIN_MM = 10.0
# AR PL UMing ("宋体"): the ascent is 0.896 em; a label's reference point is the top of the cell.
ASCENT_EM = 0.896
X_TOLERANCE = 0.1
# The full-page queue re-renders the page: its glyph origins lie about 0.1 mm left of where the
# readable queue, which keeps the program's own page, shows them within 0.01 mm.
X_TOLERANCE_RERENDERED = 0.15
Y_TOLERANCE = 0.3
CENTRE_PLAY = 0.5 * MM_PER_PX
PAPER_WIDTH_MM = 210.0
SEARCH_RADIUS_MM = 1.2

TODAY = "2024-10-20"  # month and day with the mended 零 rows: 零壹拾, 零贰拾
AMOUNT = "12345678.90"  # ten figures: all eleven grid cells hold a character
BANK = "中国某某银行北京分行"
ACCOUNT = "110123456789"
PAYEE = "北京远航科技有限公司"
SHORT_NAME = "远航科技"
PURPOSES = ("办公用品费用", "差旅费")

# Offsets in the settings file: section, field, right, down.
OFFSETS = [
    ("存根", "年份", 1, -1), ("存根", "月份", -1, 1), ("存根", "日期", 2, 0),
    ("存根", "收款人", 0, 2), ("存根", "金额", -2, -1), ("存根", "用途", 3, 1),
    ("支票", "年份", 2, 1), ("支票", "月份", -1, 0), ("支票", "日期", 1, -1),
    ("支票", "付款行名称", -3, 2), ("支票", "出票人账号", 1, 1), ("支票", "收款人", 4, -1),
    ("支票", "人民币大写", -2, 3), ("支票", "金额小写", 5, -2), ("支票", "用途", 0, -2),
]

GRID_LEFTS = (599, 613, 628, 643, 657, 672, 687, 701, 716, 731, 746)
GRID_UNITS = "亿千百十万千百十元角分"


def fields(capitals, grid, date_capitals, purpose):
    """The 25 printed fields: name, text, base left, base top, offsets, points, box (centred)."""
    year, month, day = TODAY.split("-")
    rows = [
        ("stub year", year, 51, 128, ("存根", "年份"), 9, 29),
        ("stub month", str(int(month)), 92, 128, ("存根", "月份"), 9, 16),
        ("stub day", str(int(day)), 126, 128, ("存根", "日期"), 9, 0),
        ("stub payee", SHORT_NAME, 52, 148, ("存根", "收款人"), 9, 0),
        ("stub amount", "￥" + AMOUNT, 52, 181, ("存根", "金额"), 9, 0),
        ("stub purpose", purpose, 52, 201, ("存根", "用途"), 9, 111),
        ("year in capitals", date_capitals[0], 315, 11, ("支票", "年份"), 10, 0),
        ("month in capitals", date_capitals[1], 390, 11, ("支票", "月份"), 10, 40),
        ("day in capitals", date_capitals[2], 450, 11, ("支票", "日期"), 10, 40),
        ("payee", PAYEE, 256, 30, ("支票", "收款人"), 10, 0),
        ("amount in capitals", capitals, 265, 60, ("支票", "人民币大写"), 11, 0),
        ("purpose", purpose, 248, 96, ("支票", "用途"), 10, 0),
        ("bank", BANK, 612, 11, ("支票", "付款行名称"), 10, 0),
        ("account", ACCOUNT, 611, 30, ("支票", "出票人账号"), 10, 0),
    ]
    for unit, left, text in zip(GRID_UNITS, GRID_LEFTS, grid):
        rows.append((f"grid {unit}", text, left, 69, ("支票", "金额小写"), 10, 0))
    offsets = {(s, f): (r, d) for s, f, r, d in OFFSETS}
    out = []
    for name, text, left, top, key, points, box in rows:
        right, down = offsets[key]
        x_px = left + 4 * right + box / 2
        x = MARGIN_MM + x_px * MM_PER_PX
        width = sum(advance_em(c) for c in text) * points * MM_PER_PT
        out.append({
            "name": name, "text": text, "points": points, "centred": box > 0, "x": x,
            "top": MARGIN_MM + (top + 4 * down) * MM_PER_PX,
            "right": x + (width / 2 if box else width),
        })
    return out


def settings_bytes(extra=()):
    sections = [("支票打印", [("付款行名称", BANK), ("出票人账户", ACCOUNT)])]
    for section in ("存根", "支票"):
        pairs = []
        for s, f, r, d in OFFSETS:
            if s == section:
                pairs += [(f + "右", str(r)), (f + "下", str(d))]
        sections.append((section, pairs))
    for section, key, value in extra:
        for name, pairs in sections:
            if name == section:
                pairs[:] = [(k, value if k == key else v) for k, v in pairs]
    return qmdesktop.gbk_settings(sections)


def advance_em(ch):
    # AR PL UMing: figures, letters and the point are half an em, Chinese and "￥" a whole em.
    return 0.5 if ord(ch) < 0x2E80 else 1.0


def read_lines(glyph_script, pdf):
    """The glyphs of a PDF as lines: lists of (baseline, x, text, page) in mm, left to right."""
    out = subprocess.run(["/usr/bin/python3", glyph_script, pdf], capture_output=True,
                         text=True, check=True).stdout
    glyphs = []
    for line in out.splitlines():
        page, x, y, width, height, text = line.split(" ", 5)
        glyphs.append((float(y) * MM_PER_PT, float(x) * MM_PER_PT, text, page))
    glyphs.sort(key=lambda g: (g[3], g[0], g[1]))
    lines = []
    for glyph in glyphs:
        # The full-page queue's renderer rounds origins to 1/300 inch (0.085 mm): one text's
        # glyphs may sit one step apart.
        if lines and lines[-1][0][3] == glyph[3] and glyph[0] - lines[-1][0][0] < 0.12:
            lines[-1].append(glyph)
        else:
            lines.append([glyph])
    result = []
    for line in lines:
        line.sort(key=lambda g: g[1])
        kept = []
        for glyph in line:
            # A bold text without a bold face is drawn twice, the second time a little to the
            # left; the right-hand drawing is the one placed.
            if kept and kept[-1][2] == glyph[2] and glyph[1] - kept[-1][1] < 0.2:
                kept[-1] = glyph
            else:
                kept.append(glyph)
        result.append(kept)
    return result


def locate(lines, field, readable):
    """Where a field printed, nearest its promised place: (x error, y error, glyphs missing).

    On the readable queue the field is a run of glyphs spelling its text. The full-page queue's
    renderer leaves the text unreadable, so there every glyph
    is taken for each character in turn, and the placement that the most of the field's other
    characters confirm (a glyph where that character's origin belongs) is the field's; the
    characters without a glyph are counted as missing."""
    text = field["text"]
    em = field["points"] * MM_PER_PT
    advances = [advance_em(c) * em for c in text]
    starts = [sum(advances[:k]) for k in range(len(text))]
    best = None
    for line in lines:
        for i, glyph in enumerate(line):
            for k in ([0] if readable else range(len(text))):
                x0 = glyph[1] - starts[k]
                if readable:
                    run = line[i:i + len(text)]
                    if "".join(g[2] for g in run) != text or any(
                            abs(g[1] - x0 - start) > 0.15 for g, start in zip(run, starts)):
                        continue
                    found = len(text)
                else:
                    found = sum(1 for start in starts
                                if any(abs(g[1] - x0 - start) < 0.15 for g in line))
                x = x0 + (sum(advances) / 2 if field["centred"] else 0)
                top = glyph[0] - ASCENT_EM * em
                error = (x - field["x"], top - field["top"])
                # An unreadable glyph is taken for the field only near its place; a field
                # printed further off counts as missing, which fails as well.
                if not readable and math.hypot(*error) > SEARCH_RADIUS_MM:
                    continue
                key = (-found, math.hypot(*error))
                if best is None or key < best[0]:
                    best = (key, error, len(text) - found)
    return None if best is None else (*best[1], best[2])


def check_pdf(pdf, expected, readable, glyph_script, label):
    lines = read_lines(glyph_script, pdf)
    failures = []
    worst = [0.0, 0.0, 0.0]  # x of left-aligned fields, x of centred fields, y
    pages = {g[3] for line in lines for g in line}
    if pages != {"1"}:
        failures.append(f"{label}: expected one page, found pages {sorted(pages)}")
    for field in expected:
        error = locate(lines, field, readable)
        if error is None and not readable and field["right"] > PAPER_WIDTH_MM:
            # Beyond the sheet's edge (the grid moved right): a PDF of the real page has no ink
            # there, the readable queue's PDF still carries the text.
            print(f"  {label:24} {field['name']:20} beyond the paper's edge, not printed")
            continue
        if error is None:
            failures.append(f"{label}: {field['name']} {field['text']!r} not found")
            continue
        dx, dy, missing = error
        if missing:
            # A character missing from the cheque spoils it as surely as a misplaced one.
            failures.append(f"{label}: {field['name']}: {missing} of {len(field['text'])} "
                            f"glyphs missing from the print")
        x_limit = (X_TOLERANCE if readable else X_TOLERANCE_RERENDERED) + (
            CENTRE_PLAY if field["centred"] else 0)
        print(f"  {label:24} {field['name']:20} dx {dx:+.3f} mm  dy {dy:+.3f} mm")
        column = 1 if field["centred"] else 0
        worst[column] = max(worst[column], abs(dx))
        worst[2] = max(worst[2], abs(dy))
        if abs(dx) > x_limit or abs(dy) > Y_TOLERANCE:
            failures.append(f"{label}: {field['name']} off by {dx:+.3f}, {dy:+.3f} mm")
    return failures, worst


def wait_for_pdf(candidates, before, cups_env, timeout=60):
    """The new PDF a job produced, once the queue is empty and its size has settled."""
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        new = [p for p in candidates() if p not in before or os.path.getmtime(p) > before[p]]
        jobs = subprocess.run(["lpstat", "-o"], env=cups_env, capture_output=True,
                              text=True).stdout.strip()
        if new and not jobs:
            size = os.path.getsize(new[0])
            if size > 0 and size == last:
                return new[0]
            last = size
        time.sleep(0.3)
    state = subprocess.run(["lpstat", "-t"], env=cups_env, capture_output=True, text=True)
    raise qmdesktop.DesktopError(f"no PDF arrived; the scheduler says:\n{state.stdout}")


def snapshot(candidates):
    return {p: os.path.getmtime(p) for p in candidates()}



def print_from_preview(desktop, app, candidates, cups_env, keep, name):
    before = snapshot(candidates)
    app.click_print()
    preview = desktop.find_window(qmdesktop.PREVIEW_TITLE, timeout=30)
    desktop.activate(preview)
    # "打印" does nothing while the preview is still being generated.
    time.sleep(2.0)
    desktop.click(preview, *qmdesktop.PREVIEW_PRINT)
    pdf = wait_for_pdf(candidates, before, cups_env)
    saved = os.path.join(keep, name)
    shutil.copy2(pdf, saved)
    os.remove(pdf)  # the full-page queue writes into the user's own ~/PDF
    desktop.click(preview, *qmdesktop.PREVIEW_EXIT)
    desktop.find_window(qmdesktop.PREVIEW_TITLE, gone=True)
    return saved


def check_typed(app, purpose):
    """The print click wrote the three typed texts into the pick lists: they say what the
    program received, so a keystroke lost on the way is told apart from a printing fault."""
    with open(app.settings, "rb") as f:
        stored = f.read().decode("gbk")
    wanted = [("用途", purpose), ("收款人", PAYEE), ("简称", SHORT_NAME)]
    return [f"typing: {text!r} did not reach the program's {section} list"
            for section, text in wanted if f"\r\n{text}=1\r\n" not in stored]


def check_bad_offset(desktop, app):
    """'1.5' in an offset: a message box, no preview; the program goes on."""
    with open(app.settings, "wb") as f:
        f.write(settings_bytes(extra=[("支票", "用途右", "1.5")]))
    desktop.click(app.window, *qmdesktop.AMOUNT_FIELD)
    desktop.key("Tab")  # leaving the amount field reloads the offsets
    time.sleep(0.8)
    app.click_print()
    box = desktop.find_window("^Quillmark$", timeout=10)
    time.sleep(1.5)
    if desktop.xdo("search", "--onlyvisible", "--name", qmdesktop.PREVIEW_TITLE, check=False):
        return ["a preview opened although an offset was 1.5"]
    failures = []
    if desktop.decorated(box):
        failures.append("the message box kept the window manager's frame instead of the skin's")
    desktop.activate(box)
    desktop.key("Return")
    desktop.find_window("^Quillmark$", gone=True, timeout=10)
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("quillmark")
    parser.add_argument("capitals")
    parser.add_argument("source")
    parser.add_argument("--keep", help="folder for the PDFs printed")
    args = parser.parse_args()

    def capitals_of(*argv, stdin=None):
        return subprocess.run([args.capitals, *argv], input=stdin, capture_output=True,
                              text=True, check=True).stdout.splitlines()

    capitals = capitals_of(stdin=AMOUNT + "\n")[0]
    grid = capitals_of("--grid", stdin=AMOUNT + "\n")[0].split("|")
    date_capitals = capitals_of("--date", TODAY)
    fixture = os.path.join(args.source, "tests/support/cups/cups-fixture.sh")
    glyph_script = os.path.join(args.source, "tests/support/cups/pdf-glyphs.py")

    scratch = tempfile.mkdtemp(prefix="quillmark-paper-")
    keep = args.keep or os.path.join(scratch, "pdf")
    os.makedirs(keep, exist_ok=True)
    # Directly under the temporary folder: the scheduler's filters run as another user and
    # must reach it (the fixture opens the folder itself to them).
    cups_dir = tempfile.mkdtemp(prefix="quillmark-cups-")
    server = subprocess.run(["sh", fixture, "start", cups_dir], capture_output=True, text=True)
    if server.returncode != 0:
        print(server.stderr, file=sys.stderr)
        return 1
    cups_env = dict(os.environ, CUPS_SERVER=server.stdout.strip().splitlines()[-1])
    desktop = None
    failures = []
    worst = {}
    try:
        desktop = qmdesktop.Desktop()
        home_pdf = os.path.join(os.path.expanduser("~"), "PDF")
        queues = [
            ("quillmark-pdf", lambda: glob.glob(os.path.join(cups_dir, "out", "*.pdf")), True),
            ("quillmark-full", lambda: glob.glob(os.path.join(home_pdf, "*.pdf")), False),
        ]
        for queue, candidates, readable in queues:
            subprocess.run(["lpadmin", "-d", queue], env=cups_env, check=True)
            app = qmdesktop.Quillmark(desktop, args.quillmark, settings_bytes(),
                                      env={"CUPS_SERVER": cups_env["CUPS_SERVER"],
                                           "QUILLMARK_TODAY": TODAY})
            try:
                # The built-in skin frames the window from the start: the typing and the focus
                # changes below go through a skinned window.
                if desktop.decorated(app.window):
                    failures.append("the entry window started without its skin's frame")
                app.fill_in(AMOUNT, PURPOSES[0], PAYEE, SHORT_NAME)
                for n, purpose in enumerate(PURPOSES):
                    if n:
                        app.replace_purpose(purpose)
                    pdf = print_from_preview(desktop, app, candidates, cups_env, keep,
                                             f"{queue}-{n + 1}.pdf")
                    failures += check_typed(app, purpose)
                    expected = fields(capitals, grid, date_capitals, purpose)
                    f, w = check_pdf(pdf, expected, readable, glyph_script,
                                     f"{queue} print {n + 1}")
                    failures += f
                    old = worst.get(queue, [0.0, 0.0, 0.0])
                    worst[queue] = [max(a, b) for a, b in zip(old, w)]
                if queue == "quillmark-pdf":
                    failures += check_bad_offset(desktop, app)
            except qmdesktop.DesktopError:
                shot = os.path.join(keep, "screen-at-failure.png")
                subprocess.run(["import", "-window", "root", shot], env=desktop.env)
                failures.append(f"the screen at the failure: {shot}")
                raise
            finally:
                app.close()
    except qmdesktop.DesktopError as e:
        failures.append(str(e))
    finally:
        if desktop:
            desktop.close()
        subprocess.run(["sh", fixture, "stop", cups_dir])
        shutil.rmtree(scratch, ignore_errors=True)
    for queue, (left, centre, top) in worst.items():
        print(f"worst error on {queue}: x {left:.3f} mm (left-aligned), {centre:.3f} mm "
              f"(centred), y {top:.3f} mm")
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                    "..", "..", "tools", "desktop"))
    import qmdesktop  # noqa: E402
    sys.exit(main())
