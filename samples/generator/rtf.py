"""Writes one document of the demo collection as RTF, the way a word processor
saves it: font and colour tables, document information, \\pard\\plain
paragraphs, bold labels, bulleted lists and bordered tables. Text is
Windows-1252; every character outside ASCII is written as a \\'hh escape."""

import re

FONT_TABLE = (r"{\fonttbl{\f0\fswiss\fprq2\fcharset0 Arial;}"
              r"{\f1\froman\fprq2\fcharset0 Times New Roman;}"
              r"{\f2\fnil\fprq2\fcharset2 Symbol;}}")
# Colour 1 black, 2 the bulletin's dark blue for headings, 3 grey, 4 the light
# shade of table headers.
COLOUR_TABLE = (r"{\colortbl ;\red0\green0\blue0;\red31\green56\blue100;"
                r"\red89\green89\blue89;\red221\green231\blue242;}")

TABLE_WIDTH_TWIPS = 9000
FIRST_INDENT_TWIPS = 567   # 1 cm
EMENTA_INDENT_TWIPS = 4536  # 8 cm: the summary sits in the right half

LABEL = re.compile(r"^(Art\. \d+º?(?:-[A-Z])?|§ \d+º|Parágrafo único\.)( .*)$")
INCISO = re.compile(r"^[IVXL]+ - ")
BOLD = re.compile(r"\*\*(.+?)\*\*")


def escape(text):
    """RTF text of a Unicode string; fails on characters Windows-1252 lacks."""
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            code = ch.encode("cp1252")[0]  # raises for characters outside the code page
            out.append("\\'%02x" % code)
    return "".join(out)


def inline(text):
    """Escaped text with **bold** runs as {\\b ...} groups."""
    parts = []
    last = 0
    for match in BOLD.finditer(text):
        parts.append(escape(text[last:match.start()]))
        parts.append(r"{\b " + escape(match.group(1)) + "}")
        last = match.end()
    parts.append(escape(text[last:]))
    return "".join(parts)


def body_paragraph(line):
    label = LABEL.match(line)
    if label:
        return (r"\pard\plain\qj\fi%d\sa120\f1\fs22 {\b %s}%s\par"
                % (FIRST_INDENT_TWIPS, escape(label.group(1)), inline(label.group(2))))
    if INCISO.match(line):
        return r"\pard\plain\qj\li%d\sa60\f1\fs22 %s\par" % (FIRST_INDENT_TWIPS * 2, inline(line))
    return r"\pard\plain\qj\fi%d\sa120\f1\fs22 %s\par" % (FIRST_INDENT_TWIPS, inline(line))


def bullet(line):
    return (r"\pard\plain{\pntext\f2\'b7\tab}{\*\pn\pnlvlblt\pnf2\pnindent0{\pntxtb\'b7}}"
            r"\fi-360\li%d\sa60\f1\fs22 %s\par" % (FIRST_INDENT_TWIPS * 2, inline(line)))


def table(rows):
    """A bordered table; the first row is the header, bold on a light shade."""
    columns = max(len(row) for row in rows)
    first = TABLE_WIDTH_TWIPS // 2 if columns > 1 else TABLE_WIDTH_TWIPS
    rest = (TABLE_WIDTH_TWIPS - first) // max(columns - 1, 1)
    edges = [first + rest * i for i in range(columns)]
    border = r"\brdrs\brdrw10"
    out = []
    for index, row in enumerate(rows):
        header = index == 0
        cells = row + [""] * (columns - len(row))
        definition = [r"\trowd\trgaph70\trleft0\trqc"]
        for edge in edges:
            shade = r"\clcbpat4" if header else ""
            definition.append(r"\clbrdrt%s\clbrdrl%s\clbrdrb%s\clbrdrr%s%s\cellx%d"
                              % (border, border, border, border, shade, edge))
        out.append("".join(definition))
        weight = r"\b" if header else ""
        content = []
        for column, cell in enumerate(cells):
            align = r"\ql" if column == 0 else r"\qc"
            content.append(r"\pard\plain\intbl%s\f0\fs20%s %s\cell" % (align, weight, inline(cell)))
        out.append("".join(content) + r"\row")
    out.append(r"\pard\plain\sa120\f1\fs22\par")
    return out


def document(title, summary, author, date, body):
    """The whole RTF text of one document; `date` is dd/mm/yyyy."""
    day, month, year = (int(part) for part in date.split("/"))
    lines = [
        r"{\rtf1\ansi\ansicpg1252\deff0\deflang1046" + FONT_TABLE,
        COLOUR_TABLE,
        r"{\*\generator Pandecta demo writer 1.0;}",
        r"{\info{\title %s}{\subject %s}{\author %s}{\creatim\yr%d\mo%d\dy%d\hr9\min0}}"
        % (escape(title), escape(summary), escape(author), year, month, day),
        r"\paperw11906\paperh16838\margl1701\margr1134\margt1417\margb1134\viewkind4\uc1",
        r"\pard\plain\qc\sb240\sa240\b\f0\fs26\cf2 %s\par" % escape(title.upper()),
        r"\pard\plain\qj\li%d\sa240\i\f1\fs22 %s\par" % (EMENTA_INDENT_TWIPS, escape(summary)),
    ]
    rows = []
    for line in body.strip().splitlines():
        line = line.strip()
        if line.startswith("|"):
            rows.append([cell.strip() for cell in line.strip("|").split("|")])
            continue
        if rows:
            lines.extend(table(rows))
            rows = []
        if not line:
            continue
        if line.startswith("## "):
            lines.append(r"\pard\plain\qc\sb240\sa120\keepn\b\f0\fs22\cf2 %s\par" % inline(line[3:]))
        elif line.startswith("* "):
            lines.append(bullet(line[2:]))
        elif line.startswith("> "):
            lines.append(r"\pard\plain\qc\sa60\f1\fs22 %s\par" % inline(line[2:]))
        else:
            lines.append(body_paragraph(line))
    if rows:
        lines.extend(table(rows))
    lines.append("}")
    return "\r\n".join(lines)
