#!/usr/bin/env python3
"""Generates src/eval/eval_table_data.h from the evaluation tables of the design document.

The evaluation's ~1,500 values are written down once, as Markdown tables in the design
document; this script reads them from there so nobody retypes them. Pass the document's
path and diff the result against the committed header:

    tools/extract_eval_tables.py DESIGN-DOCUMENT.md [output.h]

Every table is located by its caption or row label, parsed, checked for its expected size, and written as a
constexpr array. Square grids are stored in the engine's square order (a8 = 0, h1 = 63), as
White sees them; the evaluation mirrors them for Black when it builds its tables.
"""

import os
import re
import sys
import textwrap

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DEFAULT_OUT = os.path.join(ROOT, "src", "eval", "eval_table_data.h")


class TableError(Exception):
    pass


def cells(line):
    """The cells of one Markdown table row, stripped."""
    parts = line.strip().strip("|").split("|")
    return [p.strip() for p in parts]


def table_rows(lines, header_index):
    """The body rows of the Markdown table whose header row is at header_index."""
    rows = []
    i = header_index + 1
    if i < len(lines) and re.match(r"^\|\s*-", lines[i]):
        i += 1
    while i < len(lines) and lines[i].startswith("|"):
        rows.append(cells(lines[i]))
        i += 1
    return rows


def find_line(lines, predicate, start=0, what=""):
    for i in range(start, len(lines)):
        if predicate(lines[i]):
            return i
    raise TableError("not found: " + what)


def ints(text):
    return [int(v) for v in re.findall(r"-?\d+", text)]


def row_values(cell):
    """Eight values of one grid row: either eight numbers or 'N on every file/square'."""
    m = re.fullmatch(r"(-?\d+) on every (file|square)", cell)
    if m:
        return [int(m.group(1))] * 8
    values = ints(cell)
    if len(values) != 8:
        raise TableError("grid row does not hold eight values: " + cell)
    return values


def ranks_of(cell):
    """The rank numbers a grid row stands for ('8', '8, 7, 6', '2, 1')."""
    return [int(r) for r in re.findall(r"\d", cell)]


def parse_grids(lines, header_index, columns):
    """Square grids from one table: columns = number of grids side by side.

    Ranks that the table leaves out are zero. Returns a list of 64-value lists in square
    order (index 0 = a8)."""
    grids = [[None] * 64 for _ in range(columns)]
    for row in table_rows(lines, header_index):
        if len(row) != columns + 1:
            raise TableError("unexpected row: " + " | ".join(row))
        for rank in ranks_of(row[0]):
            base = (8 - rank) * 8
            for g in range(columns):
                values = row_values(row[g + 1])
                for f in range(8):
                    if grids[g][base + f] is not None:
                        raise TableError("rank %d given twice" % rank)
                    grids[g][base + f] = values[f]
    for g in grids:
        for s in range(64):
            if g[s] is None:
                g[s] = 0
    return grids


def piece_grids(lines, caption):
    start = find_line(lines, lambda l: l.strip() == caption, what=caption)
    header = find_line(lines, lambda l: l.startswith("| rank |"), start, caption + " table")
    rows = table_rows(lines, header)
    if len(rows) != 8:
        raise TableError(caption + " grid does not have eight ranks")
    return parse_grids(lines, header, 2)


def labelled_values(lines, label, expected, expand=None):
    """The last cell of the table row whose first cell starts with label."""
    index = find_line(lines, lambda l: l.startswith("| " + label), what=label)
    text = cells(lines[index])[-1]
    values = expand(text) if expand else ints(text)
    if len(values) != expected:
        raise TableError("%s: %d values, expected %d" % (label, len(values), expected))
    return values


def expand_then_up_to(text):
    """'a, b, ..., z, then z up to N': repeat the last value up to index N."""
    m = re.fullmatch(r"(.*), then (-?\d+) up to (\d+)", text)
    if not m:
        raise TableError("unexpected text: " + text)
    values = ints(m.group(1))
    fill, last = int(m.group(2)), int(m.group(3))
    values += [fill] * (last + 1 - len(values))
    return values


def expand_attacker_multiplier(text):
    m = re.fullmatch(r"count \+ 1 for counts 0\.\.(\d+); then for (\d+)\.\.(\d+): (.*); "
                     r"(\d+) for (\d+)\.\.(\d+)", text)
    if not m:
        raise TableError("unexpected attacker-count text: " + text)
    first_last = int(m.group(1))
    values = [c + 1 for c in range(first_last + 1)]
    middle = ints(m.group(4))
    if int(m.group(2)) != len(values) or int(m.group(3)) != len(values) + len(middle) - 1:
        raise TableError("attacker-count ranges do not line up")
    values += middle
    fill, lo, hi = int(m.group(5)), int(m.group(6)), int(m.group(7))
    if lo != len(values):
        raise TableError("attacker-count tail does not line up")
    values += [fill] * (hi - lo + 1)
    return values


def pawn_surplus(lines):
    index = find_line(lines, lambda l: l.startswith("Pawn-surplus table"), what="pawn surplus")
    m = re.search(r"entries 0 to (\d+) are ([-\d, ]+); entries (\d+) to (\d+) are (-?\d+)",
                  lines[index])
    if not m:
        raise TableError("unexpected pawn-surplus text")
    values = ints(m.group(2))
    if len(values) != int(m.group(1)) + 1 or int(m.group(3)) != len(values):
        raise TableError("pawn-surplus ranges do not line up")
    values += [int(m.group(5))] * (int(m.group(4)) - int(m.group(3)) + 1)
    return values


def extract(doc_lines):
    """Every table as (name, comment, values, row length for formatting)."""
    out = []

    piece_names = [("Knight:", "Knight"), ("Bishop:", "Bishop"), ("Rook:", "Rook"),
                   ("Queen:", "Queen"), ("King:", "King")]
    mg, eg = [[0] * 64], [[0] * 64]  # the pawn grids are zero
    for caption, _ in piece_names:
        g = piece_grids(doc_lines, caption)
        mg.append(g[0])
        eg.append(g[1])
    out.append(("PieceGridMg", "Piece-square source grids by piece type, middlegame "
                "(pawns score their placement elsewhere, so their grid is zero).", mg, 8))
    out.append(("PieceGridEg", "The same, endgame.", eg, 8))

    header = find_line(doc_lines, lambda l: l.startswith("| rank | A: kings both king side"),
                       what="pawn placement A-D")
    abcd = parse_grids(doc_lines, header, 4)
    header = find_line(doc_lines, lambda l: l.startswith("| rank | E: pawn endgame"),
                       what="pawn placement E")
    e_passed_candidate = parse_grids(doc_lines, header, 3)
    out.append(("PawnPlacementGrid",
                "Pawn placement: A both kings on the king side, B own king on the queen side, "
                "C enemy king on the queen side, D both on the queen side (middlegame), "
                "E endgame.", abcd + [e_passed_candidate[0]], 8))
    out.append(("PassedPawnGrid", "Static passed-pawn value by square.",
                e_passed_candidate[1], 8))
    out.append(("CandidatePawnGrid", "Candidate passed pawn value by square.",
                e_passed_candidate[2], 8))

    start = find_line(doc_lines, lambda l: l.startswith("Outpost (knights full value"),
                      what="outpost")
    header = find_line(doc_lines, lambda l: l.startswith("| rank |"), start, "outpost table")
    out.append(("OutpostGrid", "Outposts: knights score the full value, bishops half.",
                parse_grids(doc_lines, header, 1)[0], 8))
    header = find_line(doc_lines, lambda l: l.startswith("| rank | shelter"), what="shelter")
    shelter, storm = parse_grids(doc_lines, header, 2)
    out.append(("ShelterGrid", "Shelter value of the least advanced own pawn on a file; the "
                "first-rank square stands for a file without one.", shelter, 8))
    out.append(("StormGrid", "Storm penalty of the most advanced enemy pawn on a file; the "
                "first-rank square stands for a file without one.", storm, 8))

    out.append(("PawnSurplus", "Pawn-surplus bonus by the weighted piece count of both sides.",
                pawn_surplus(doc_lines), 12))

    lv = lambda label, n, expand=None: labelled_values(doc_lines, label, n, expand)
    out += [
        ("DoubledPenalty", "Doubled pawns, by the number of own pawns on the file.",
         lv("doubled, by the number", 9), 9),
        ("IsolatedPenalty", "Isolated pawn, by file.", lv("isolated, by file", 8), 8),
        ("BackwardPenalty", "Backward pawn, by file.", lv("backward, by file", 8), 8),
        ("SupportBonus", "Pawn support, by file.", lv("support, by file", 8), 8),
        ("ConnectedPassedBonus", "Connected passed pawn, by rows to go.",
         lv("connected passed, by rows", 8), 8),
        ("KingDistanceMultiplierRook", "Passed-pawn king-distance multiplier against a lone "
         "rook, by rows to go.", lv("king-distance multiplier when the opponent has exactly", 8),
         8),
        ("KingDistanceMultiplier", "Passed-pawn king-distance multiplier otherwise.",
         lv("king-distance multiplier otherwise", 8), 8),
        ("EnemyKingDistanceBonus", "Passed pawn: enemy king distance bonus.",
         lv("enemy-king distance bonus", 8), 8),
        ("OwnKingDistanceBonus", "Passed pawn: own king distance bonus.",
         lv("own-king distance bonus", 8), 8),
        ("StopBlockerBonus", "Passed pawn: enemy blocker on the stop square, by piece type.",
         lv("enemy blocker on the stop square", 6), 6),
        ("FreePathUnit", "Passed pawn: free-path unit, by rows to go.",
         lv("free-path unit", 8), 8),
        ("KnightMobility", "Knight mobility by counted squares.", lv("knight (0..8)", 9), 9),
        ("BishopMobility", "Bishop mobility.", lv("bishop (0..13)", 14), 14),
        ("RookMobility", "Rook mobility.", lv("rook (0..14)", 15), 15),
        ("QueenMobility", "Queen mobility.", lv("queen (0..28)", 29, expand_then_up_to), 15),
        ("KnightPawnSpan", "Knight pawn-span term by span in files.",
         lv("knight pawn-span", 8), 8),
        ("BishopPawnSpan", "Bishop pawn-span term by span in files.",
         lv("bishop pawn-span", 8), 8),
        ("KingBlockAttackWeight", "Attack weight of a piece reaching the king block (N B R Q).",
         lv("attack weight, piece reaching the king block", 4), 4),
        ("WideAreaAttackWeight", "Attack weight of a piece reaching the wide king area.",
         lv("attack weight, piece reaching the wide king area", 4), 4),
        ("SafeCheckValue", "Safe-check value by weighted check squares.",
         lv("safe-check value", 6), 6),
        ("AttackerCountMultiplier", "King attack multiplier by attacker count.",
         lv("attacker-count multiplier", 48, expand_attacker_multiplier), 16),
        ("KingFlightBonus", "King flight squares.", lv("king flight squares", 9), 9),
        ("BackRankFlightPenalty", "Back-rank flight penalty by free squares.",
         lv("back-rank flight penalty", 2), 2),
        ("KingActivityCentre", "King activity by reachable wide-centre squares.",
         lv("king activity, `WideCentre`", 9), 9),
        ("KingActivitySquares", "King activity by reachable squares.",
         lv("king activity, squares reachable", 9), 9),
        ("KingSpanDistanceLoneRook", "King distance from the pawn span, against a lone rook.",
         lv("king distance from the pawn span, against a lone rook", 8), 8),
        ("KingSpanDistance", "King distance from the pawn span, otherwise.",
         lv("king distance from the pawn span, otherwise", 8), 8),
    ]
    return out


def shape(values):
    if isinstance(values[0], list):
        return [len(values)] + shape(values[0])
    return [len(values)]


def format_values(values, per_line, indent):
    pad = " " * indent
    if isinstance(values[0], list):
        inner = [pad + "{\n" + format_values(v, per_line, indent + 4) + "\n" + pad + "}"
                 for v in values]
        return ",\n".join(inner)
    lines = []
    for i in range(0, len(values), per_line):
        lines.append(pad + ", ".join("%4d" % v for v in values[i:i + per_line]))
    return ",\n".join(lines)


def render(tables):
    out = ["// Generated by tools/extract_eval_tables.py from the design document: do not edit by",
           "// hand; regenerate and diff. Square grids are in square order (a8 = 0, h1 = 63) as White",
           "// sees the board; the evaluation builds the Black halves by mirroring.",
           "#pragma once", "", "#include <cstdint>", "", "namespace corvid::evaldata {", "",
           "// clang-format off"]
    for name, comment, values, per_line in tables:
        dims = "".join("[%d]" % d for d in shape(values))
        out.append("")
        out += ["// " + l for l in textwrap.wrap(comment, 96)]
        out.append("inline constexpr int16_t %s%s = {" % (name, dims))
        out.append(format_values(values, per_line, 4))
        out.append("};")
    out += ["", "// clang-format on", "", "} // namespace corvid::evaldata", ""]
    return "\n".join(out)


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: extract_eval_tables.py DESIGN-DOCUMENT.md [output.h]")
    doc = sys.argv[1]
    target = sys.argv[2] if len(sys.argv) > 2 else DEFAULT_OUT
    with open(doc, encoding="utf-8") as f:
        lines = f.read().splitlines()
    try:
        tables = extract(lines)
    except TableError as error:
        sys.exit("extract_eval_tables: " + str(error))
    count = 0
    for _, _, values, _ in tables:
        flat = values
        while isinstance(flat[0], list):
            flat = [v for row in flat for v in row]
        count += len(flat)
    with open(target, "w", encoding="utf-8") as f:
        f.write(render(tables))
    print("wrote %d tables, %d values to %s" % (len(tables), count, target))


if __name__ == "__main__":
    main()
