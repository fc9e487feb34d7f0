#!/usr/bin/env python3
"""Compares where two renderings of the same RTF files place their text.

For every file it reads the program's paragraph list (fidelity_print's JSON)
and the word boxes of both PDFs (pdftotext -bbox), finds each paragraph's
first words in each PDF, and measures, relative to each page's text margin:
the left edge of the paragraph's first word, of the first word after its
first tab (the text after a list's number), and of its second line, and for
table cells the left edge of the cell's text. A paragraph counts as placed
when all of its edges lie within the tolerance of the reference's.

    compare.py WORK_FOLDER    (WORK_FOLDER/CLASS/NAME.{json,ours.html,ref.html})
"""
import html
import json
import os
import re
import sys
from collections import defaultdict

MM_PER_POINT = 25.4 / 72.0
TOLERANCE_MM = 2.0
MATCH_WORDS = 3
SEARCH_WINDOW = 4000

WORD = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>')
PAGE = re.compile(r'<page ')


def read_words(path):
    """Words in reading order as (text, x, top, bottom, page)."""
    words = []
    page = -1
    with open(path, encoding="utf-8") as source:
        for line in source:
            if PAGE.search(line):
                page += 1
            found = WORD.search(line)
            if found:
                x, top, _, bottom, text = found.groups()
                for piece in html.unescape(text).replace("\u00a0", " ").split():
                    words.append((piece, float(x), float(top), float(bottom), page))
    return words


def normal(word):
    return word.replace("\u00a0", "").strip()


class Locator:
    """Finds paragraphs in a word stream, mostly in order, each word used once."""

    def __init__(self, words):
        self.words = words
        self.index = defaultdict(list)
        for position, word in enumerate(words):
            self.index[normal(word[0])].append(position)
        self.used = set()
        self.cursor = 0

    def find(self, first_words):
        if not first_words:
            return None
        key = [normal(w) for w in first_words[:MATCH_WORDS]]
        best = None
        for position in self.index.get(key[0], []):
            if position in self.used or abs(position - self.cursor) > SEARCH_WINDOW:
                continue
            if [normal(w[0]) for w in self.words[position:position + len(key)]] != key:
                continue
            distance = position - self.cursor
            rank = distance if distance >= 0 else SEARCH_WINDOW + -distance
            if best is None or rank < best[0]:
                best = (rank, position)
        if best is None:
            return None
        self.used.add(best[1])
        self.cursor = best[1] + 1
        return best[1]

    def after_tab(self, position, index):
        """Left edge of the paragraph's word `index`, when it is on the first line."""
        if index < 0 or position + index >= len(self.words):
            return None
        first, word = self.words[position], self.words[position + index]
        return word[1] if word[4] == first[4] and (word[2] + word[3]) / 2 < first[3] else None

    def edges(self, position, word_count):
        """Left edge of the first word and of the first word of the next line."""
        first = self.words[position]
        second = None
        for word in self.words[position + 1:position + max(word_count, 1)]:
            middle = (word[2] + word[3]) / 2
            if word[4] != first[4] or middle > first[3]:
                second = word[1]
                break
        return first[1], second


def within(ours, reference, our_margin, reference_margin):
    return abs((ours - our_margin) - (reference - reference_margin)) * MM_PER_POINT <= TOLERANCE_MM


def compare_file(stem):
    with open(stem + ".json", encoding="utf-8") as source:
        listing = json.load(source)
    ours = Locator(read_words(stem + ".ours.html"))
    reference = Locator(read_words(stem + ".ref.html"))
    our_margin = listing["marginMm"] / MM_PER_POINT
    reference_margin = listing["sourceMarginMm"] / MM_PER_POINT
    counts = defaultdict(lambda: [0, 0])
    misses = []
    for paragraph in listing["paragraphs"]:
        words = paragraph["words"]
        if not words:
            continue
        a = ours.find(words)
        b = reference.find(words)
        if a is None or b is None:
            counts["unmatched"][1] += 1
            continue
        our_first, our_second = ours.edges(a, paragraph["wordCount"])
        ref_first, ref_second = reference.edges(b, paragraph["wordCount"])
        good = within(our_first, ref_first, our_margin, reference_margin)
        our_tab = ours.after_tab(a, paragraph.get("afterTab", -1))
        ref_tab = reference.after_tab(b, paragraph.get("afterTab", -1))
        if our_tab is not None and ref_tab is not None:
            good = good and within(our_tab, ref_tab, our_margin, reference_margin)
        if "table" in paragraph:
            if not paragraph["firstInCell"] or paragraph["alignment"] not in (0, 3):
                continue
            kinds = ["columns"]
        else:
            if our_second is not None and ref_second is not None:
                good = good and within(our_second, ref_second, our_margin, reference_margin)
            kinds = ["paragraphs"]
            if paragraph["firstIndent"] < 0:
                kinds.append("lists")
        for kind in kinds:
            counts[kind][1] += 1
            counts[kind][0] += good
        if not good:
            def mm(x, margin):
                return "-" if x is None else "%.1f" % ((x - margin) * MM_PER_POINT)
            misses.append("%s: %s  first/after tab/second line %s/%s/%s mm vs %s/%s/%s mm" % (
                kinds[0], " ".join(words[:4]),
                mm(our_first, our_margin), mm(our_tab, our_margin), mm(our_second, our_margin),
                mm(ref_first, reference_margin), mm(ref_tab, reference_margin), mm(ref_second, reference_margin)))
    return counts, misses


def share(count):
    good, total = count
    return "%d/%d (%s)" % (good, total, "%.1f%%" % (100.0 * good / total) if total else "-")


def main():
    work = sys.argv[1]
    verbose = "-v" in sys.argv
    totals = defaultdict(lambda: [0, 0])
    for kind_folder in sorted(os.listdir(work)):
        folder = os.path.join(work, kind_folder)
        if not os.path.isdir(folder):
            continue
        by_class = defaultdict(lambda: [0, 0])
        for name in sorted(os.listdir(folder)):
            if not name.endswith(".json"):
                continue
            stem = os.path.join(folder, name[:-5])
            if not os.path.exists(stem + ".ref.html") or not os.path.exists(stem + ".ours.html"):
                print("%s/%s: not rendered by both" % (kind_folder, name[:-5]))
                continue
            counts, misses = compare_file(stem)
            for kind, (good, total) in counts.items():
                by_class[kind][0] += good
                by_class[kind][1] += total
            if verbose:
                for miss in misses:
                    print("  %s/%s %s" % (kind_folder, name[:-5], miss))
        print("%-10s paragraphs %s  lists %s  table columns %s  unmatched %d" % (
            kind_folder, share(by_class["paragraphs"]), share(by_class["lists"]),
            share(by_class["columns"]), by_class["unmatched"][1]))
        for kind, (good, total) in by_class.items():
            totals[kind][0] += good
            totals[kind][1] += total
    print("all        paragraphs %s  lists %s  table columns %s" % (
        share(totals["paragraphs"]), share(totals["lists"]), share(totals["columns"])))
    print("within %g mm: paragraphs %s, table columns %s" % (
        TOLERANCE_MM, share(totals["paragraphs"]), share(totals["columns"])))


if __name__ == "__main__":
    main()
