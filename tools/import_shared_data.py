#!/usr/bin/env python3
"""Regenerates the repository's data from the shared data folder beside it.

    tools/import_shared_data.py [SHARED_DATA_DIR]   (default: ../shared/data, or a parent's)

Writes data/book/ (the default book's source games), data/openingBook/testStartPositions.txt
and tests/data/ (the test inputs). Neither the build nor the tests run this: its output is
committed, and this script only records how it was made (data/README.md and
tests/data/README.md describe the result). The output is the same on every run.
"""
import os
import re
import shutil
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The book builder reads moves 1 to 12 of each game: the book's source keeps 24 half-moves.
BOOK_PLIES = 24
# Every 17th opening position: 2,042 start positions (the test match loads at most 2,048).
START_POSITION_STEP = 17
# Every 10th opening position for the tests (they read every 30th and 50th of the full file).
OPENING_SAMPLE_STEP = 10
# Full-length master games kept for the reader and evaluation tests (first N of each file).
MASTER_GAMES = {'twic0920.pgn': 120, 'pgnmentor_Carlsen.pgn': 40,
                'pgnmentor_Korchnoi.pgn': 40, 'iommast19.pgn': 40}
# Engine games kept (0-based indexes in each file): the first twelve of the long match, which
# the evaluation tests read, and the longest game of each match.
ENGINE_GAMES = {'TCEC_Season_10_-_Superfinal.pgn': list(range(12)) + ['longest'],
                'TCEC_Season_1_-_Elite-Match.pgn': [0, 1, 'longest']}
EPD_COPIES = ['bk.epd', 'cw_perft.epd', 'malformed.epd', 'perftsuite.epd', 'pet.epd',
              'tb_gaviota_dm_3_4men.epd', 'tb_gaviota_dm_5men.epd', 'tb_syzygy_wdl_dtz.epd']


def find_shared():
    if len(sys.argv) > 1:
        return sys.argv[1]
    folder = ROOT
    while folder != os.path.dirname(folder):
        folder = os.path.dirname(folder)
        candidate = os.path.join(folder, 'shared', 'data')
        if os.path.isdir(candidate):
            return candidate
    sys.exit('shared data folder not found; give it as the argument')


def read_bytes(path):
    with open(path, 'rb') as f:
        return f.read()


def write_bytes(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def split_games(data):
    """The games of a PGN file as byte blocks, each starting at its Event tag."""
    starts = [m.start() for m in re.finditer(rb'^\[Event ', data, re.M)]
    return [data[s:e] for s, e in zip(starts, starts[1:] + [len(data)])]


def move_tokens(block):
    """Move text tokens of a game without comments: moves and the result."""
    text = b'\n'.join(l for l in block.split(b'\n') if not l.startswith(b'['))
    text = re.sub(rb'\{[^}]*\}', b' ', text)
    text = re.sub(rb';[^\n]*', b' ', text)
    tokens = []
    for t in text.split():
        t = re.sub(rb'^\d+\.+', b'', t)
        if t:
            tokens.append(t.decode('ascii'))
    return tokens


def tag(block, name):
    m = re.search(rb'^\[' + name.encode() + rb' "([^"]*)"\]', block, re.M)
    return m.group(1).decode('latin-1') if m else ''


def numbered(moves, first_ply=0, compact=False):
    out = []
    for i, m in enumerate(moves, first_ply):
        if i % 2 == 0:
            out.append(f'{i // 2 + 1}.' + ('' if compact else ' ') + m)
        else:
            out.append(m)
    return out


# ---- The default book's source: the opening moves of every master game.
def book_source(shared):
    for path in sorted(os.listdir(os.path.join(shared, 'pgn', 'master'))):
        games = split_games(read_bytes(os.path.join(shared, 'pgn', 'master', path)))
        out = []
        for block in games:
            tokens = move_tokens(block.replace(b'\r\n', b'\n'))
            result = tokens[-1]
            assert result in ('1-0', '0-1', '1/2-1/2', '*'), (path, tokens[-3:])
            body = numbered(tokens[:-1][:BOOK_PLIES]) + [result]
            out.append(f'[Result "{tag(block, "Result")}"]\n\n' + wrap(body) + '\n')
        write_bytes(os.path.join(ROOT, 'data', 'book', path), '\n'.join(out).encode())


def wrap(tokens, width=79):
    lines, line = [], ''
    for t in tokens:
        if line and len(line) + 1 + len(t) > width:
            lines.append(line)
            line = t
        else:
            line = (line + ' ' + t) if line else t
    lines.append(line)
    return '\n'.join(lines)


# ---- Opening positions.
def openings(shared):
    lines = read_bytes(os.path.join(shared, 'epd', 'openings_8moves_v3.epd')).split(b'\n')
    lines = [l for l in lines if l.strip()]
    fens = []
    for line in lines[::START_POSITION_STEP]:
        fields = line.decode('ascii').split()
        clock = re.search(r'hmvc (\d+);', line.decode()).group(1)
        number = re.search(r'fmvn (\d+);', line.decode()).group(1)
        fens.append(' '.join(fields[:4] + [clock, number]))
    write_bytes(os.path.join(ROOT, 'data', 'openingBook', 'testStartPositions.txt'),
                ('\n'.join(fens) + '\n').encode())
    sample = b'\n'.join(lines[::OPENING_SAMPLE_STEP]) + b'\n'
    write_bytes(os.path.join(ROOT, 'tests', 'data', 'epd', 'openings_sample.epd'), sample)


def epd_copies(shared):
    for name in EPD_COPIES:
        shutil.copyfile(os.path.join(shared, 'epd', name),
                        os.path.join(ROOT, 'tests', 'data', 'epd', name))


def master_games(shared):
    for name, count in MASTER_GAMES.items():
        games = split_games(read_bytes(os.path.join(shared, 'pgn', 'master', name)))
        base = name[:-4]
        write_bytes(os.path.join(ROOT, 'tests', 'data', 'pgn', 'master',
                                 f'{base}_first{count}.pgn'), b''.join(games[:count]))


# ---- Our own comments of the shapes the originals had.
class Generator:
    """A small deterministic generator for the figures of the made-up comments."""

    def __init__(self, seed):
        self.state = seed * 0x9E3779B97F4A7C15 + 1

    def below(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        return (self.state >> 33) % n


def clock(seconds):
    return f'{seconds // 3600:02d}:{seconds // 60 % 60:02d}:{seconds % 60:02d}'


def engine_comment(rng, moves, ply, style, time_left):
    depth = 20 + rng.below(15)
    spent = 5 + rng.below(300)
    pv = moves[ply:ply + 2 + rng.below(12)]
    parts = []
    if style == 'season1':
        parts.append(f'ev={(rng.below(120) - 60) / 100:.2f}')
    parts += [f'd={depth}']
    if ply + 1 < len(moves):
        parts.append(f'pd={moves[ply + 1]}')
    parts += [f'mt={clock(spent)}', f'tl={clock(time_left)}',
              f's={1000 + rng.below(60000)} kN/s']
    if style == 'season10':
        parts.append(f'n={spent * (1000000 + rng.below(60000000))}')
    parts += [f'pv={" ".join(pv)}', 'tb=0', f'R50={50 - rng.below(50)}']
    if style == 'season10':
        parts.append(f'wv={(rng.below(120) - 60) / 100:.2f}')
    return '{ ' + ', '.join(parts) + ', }', spent


def engine_game(block, index, style):
    block = block.replace(b'\r\n', b'\n')
    tags = [l for l in block.split(b'\n') if l.startswith(b'[')]
    tokens = move_tokens(block)
    moves, result = tokens[:-1], tokens[-1]
    rng = Generator(index + (1000 if style == 'season1' else 0))
    lines = [l.decode('latin-1') for l in tags] + ['']
    if style == 'season1':
        lines.append('{ test machine, one core }')
    else:
        lines.append('{ WhiteEngineOptions: Hash=128; Threads=1; Ponder=false;, '
                     'BlackEngineOptions: Hash=128; Threads=1; Ponder=false; }')
    left = [7200, 7200]
    for ply, move in enumerate(moves):
        comment, spent = engine_comment(rng, moves, ply, style, left[ply % 2])
        left[ply % 2] = max(60, left[ply % 2] - spent + 15)
        number = ''
        if ply % 2 == 0:
            number = f'{ply // 2 + 1}.' if style == 'season1' else f'{ply // 2 + 1}. '
        lines.append(f'{number}{move} {comment}' + ('  ' if style == 'season1' else ''))
    lines.append(result + (' ' if style == 'season1' else ''))
    if style == 'season1':
        # A brace inside a rest-of-line comment opens no comment.
        lines.append(f'; {{ Game {index + 1} : {tag(block, "White")} - {tag(block, "Black")} '
                     f'{result}')
        lines.append(f'; {len(moves)} half-moves }}')
    return ('\n'.join(lines) + '\n\n\n').encode('latin-1')


def engine_games(shared):
    for name, wanted in ENGINE_GAMES.items():
        style = 'season1' if 'Season_1_' in name else 'season10'
        games = split_games(read_bytes(os.path.join(shared, 'pgn', 'engine', name)))
        lengths = [len(move_tokens(g)) for g in games]
        indexes = [lengths.index(max(lengths)) if w == 'longest' else w for w in wanted]
        out = b''.join(engine_game(games[i], i, style) for i in indexes)
        write_bytes(os.path.join(ROOT, 'tests', 'data', 'pgn', 'engine', name), out)


WORDS = {
    1: ['a'], 2: ['on', 'to', 'at', 'by', 'in'], 3: ['the', 'and', 'can', 'now', 'pin'],
    4: ['pawn', 'rook', 'king', 'move', 'file', 'rank', 'line', 'plan'],
    5: ['queen', 'check', 'trade', 'guard', 'march'],
    6: ['knight', 'bishop', 'square', 'threat', 'centre'],
    7: ['attacks', 'defends', 'endgame', 'advance'],
    8: ['pressure', 'blockade', 'exchange', 'decisive'],
    9: ['sacrifice', 'promotion', 'stalemate'],
    10: ['initiative', 'weaknesses'], 11: ['counterplay', 'development'],
    12: ['breakthrough', 'coordination'],
}
# Our own non-ASCII letters, one per UTF-8 length, so the comments keep their encodings.
WIDE = {2: 'é'.encode(), 3: '–'.encode(), 4: '🐦'.encode()}


class CommentWriter:
    """Writes our own words into a comment's place: same letters count per word, same case
    pattern, same non-ASCII byte lengths, everything else (punctuation, digits, line breaks,
    [%...] commands) kept."""

    def __init__(self):
        self.counter = 0

    def word(self, n):
        out = ''
        while len(out) < n:
            left = min(n - len(out), 12)
            choices = WORDS[left]
            out += choices[self.counter % len(choices)]
            self.counter += 1
        return out

    def run(self, run):
        letters = sum(1 for b in run if b < 0x80)
        word = self.word(letters) if letters else ''
        out, i, k = bytearray(), 0, 0
        first_upper = run[:1].isupper()
        all_upper = letters > 1 and bytes(b for b in run if b < 0x80).isupper()
        while i < len(run):
            b = run[i]
            if b < 0x80:
                c = word[k]
                k += 1
                if all_upper or (first_upper and k == 1):
                    c = c.upper()
                out += c.encode()
                i += 1
                continue
            width = 2 if b >= 0xC0 else 1
            width = 3 if b >= 0xE0 else width
            width = 4 if b >= 0xF0 else width
            sequence = run[i:i + width]
            try:
                sequence.decode('utf-8')
                out += WIDE.get(width, b'\xe9' * width)
            except UnicodeDecodeError:
                width = 1
                out += b'\xe9'
            i += width
        return bytes(out)

    def comment(self, text):
        pieces = re.split(rb'(\[%[^\]]*\])', text)
        out = b''
        for piece in pieces:
            if piece.startswith(b'[%'):
                out += piece
            else:
                out += re.sub(rb'[A-Za-z\x80-\xff]+', lambda m: self.run(m.group(0)), piece)
        return out


def rewrite_comments(data):
    """The file with every comment's words replaced by ours (tags and moves untouched)."""
    writer = CommentWriter()
    out = bytearray()
    in_brace = False
    for line in data.split(b'\n'):
        if line.startswith(b'[Event ') or (not in_brace and line.startswith(b'[')):
            in_brace = False  # an unterminated comment ends at the next game, as the reader has it
            out += line + b'\n'
            continue
        if not in_brace and line.startswith(b'%'):
            out += line + b'\n'
            continue
        i, start = 0, 0
        while i < len(line):
            c = line[i:i + 1]
            if in_brace and c == b'}':
                out += writer.comment(line[start:i]) + c
                in_brace, start = False, i + 1
            elif not in_brace and c == b'{':
                out += line[start:i + 1]
                in_brace, start = True, i + 1
            elif not in_brace and c == b';':
                out += line[start:i + 1] + writer.comment(line[i + 1:])
                start = i = len(line)
                break
            i += 1
        rest = line[start:]
        out += (writer.comment(rest) if in_brace else rest) + b'\n'
    return bytes(out[:-1])


def reader_tests(shared):
    source = os.path.join(shared, 'pgn', 'reader_tests')
    for folder, _, files in os.walk(source):
        for name in files:
            relative = os.path.relpath(os.path.join(folder, name), source)
            data = read_bytes(os.path.join(folder, name))
            # The hand-written cases are ours; the other files get our own comments.
            if not relative.startswith('synthetic'):
                data = rewrite_comments(data)
            write_bytes(os.path.join(ROOT, 'tests', 'data', 'pgn', 'reader_tests', relative),
                        data)


def main():
    shared = find_shared()
    for folder in ['data/book', 'data/openingBook', 'tests/data/epd', 'tests/data/pgn']:
        shutil.rmtree(os.path.join(ROOT, folder), ignore_errors=True)
        os.makedirs(os.path.join(ROOT, folder))
    book_source(shared)
    openings(shared)
    epd_copies(shared)
    master_games(shared)
    engine_games(shared)
    reader_tests(shared)


if __name__ == '__main__':
    main()
