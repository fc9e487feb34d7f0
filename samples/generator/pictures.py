"""The bitmap documents of the demo collection: a chart, a form and a map."""

import math

from bitmap import Canvas

# Fictitious ICMS revenue in millions of reais, by quarter.
REVENUE = {
    2021: (1180, 1225, 1290, 1410),
    2022: (1320, 1365, 1402, 1530),
    2023: (1395, 1440, 1468, 1615),
    2024: (1480, 1522, 1575, 1702),
}
QUARTER_COLOURS = (6, 7, 8, 9)


def revenue_chart(path):
    canvas = Canvas(480, 300, 0)
    canvas.text(20, 14, "ARRECADAÇÃO DE ICMS POR TRIMESTRE", 2, 2)
    canvas.text(20, 38, "EM MILHÕES DE REAIS - ESTADO DE PANDECTA", 3)
    left, right, top, bottom = 60, 460, 60, 250
    top_value = 2000
    for value in range(0, top_value + 1, 500):
        y = bottom - (bottom - top) * value // top_value
        canvas.hline(left, right, y, 4 if value else 1, dash=0 if value == 0 else 3)
        label = str(value)
        canvas.text(left - 8 - Canvas.text_width(label), y - 3, label, 3)
    canvas.fill(left, top, left + 1, bottom + 1, 1)
    group_width = (right - left) // len(REVENUE)
    bar_width = 16
    for index, (year, quarters) in enumerate(sorted(REVENUE.items())):
        x = left + index * group_width + (group_width - 4 * bar_width - 6) // 2
        for quarter, value in enumerate(quarters):
            height = (bottom - top) * value // top_value
            canvas.fill(x, bottom - height, x + bar_width, bottom, QUARTER_COLOURS[quarter])
            canvas.frame(x, bottom - height, x + bar_width, bottom + 1, 3)
            x += bar_width + 2
        label = str(year)
        centre = left + index * group_width + group_width // 2
        canvas.text(centre - Canvas.text_width(label) // 2, bottom + 8, label, 1)
    x = left
    for quarter, colour in enumerate(QUARTER_COLOURS):
        canvas.fill(x, 278, x + 10, 288, colour)
        x = canvas.text(x + 14, 280, "%d TRIMESTRE" % (quarter + 1), 1) + 16
    canvas.save_bmp(path)


FORM_FIELDS = [
    ("NOME DO REQUERENTE", 0, 400),
    ("CPF", 0, 190), ("TELEFONE", 200, 400),
    ("ENDEREÇO", 0, 400),
    ("PLACA", 0, 120), ("RENAVAM", 130, 270), ("ANO", 280, 400),
]


def exemption_form(path):
    canvas = Canvas(440, 420, 15)
    canvas.frame(6, 6, 434, 414, 2, 2)
    canvas.fill(8, 8, 432, 52, 5)
    canvas.text(20, 16, "SECRETARIA DE ESTADO DA FAZENDA", 2)
    canvas.text(20, 30, "ESTADO DE PANDECTA", 2)
    canvas.text(20, 68, "REQUERIMENTO DE ISENÇÃO DO IPVA", 1, 2)
    canvas.text(20, 90, "PESSOA COM DEFICIÊNCIA - IN DT 24/2023", 3)
    y = 112
    row_left = None
    for label, start, end in FORM_FIELDS:
        if start == 0 and row_left is not None:
            y += 42
        row_left = start
        canvas.text(20 + start, y, label, 3)
        canvas.frame(20 + start, y + 10, 20 + end, y + 32, 1)
    y += 48
    canvas.text(20, y, "TIPO DE DEFICIÊNCIA", 3)
    for index, option in enumerate(("FÍSICA", "VISUAL", "MENTAL", "AUTISMO")):
        x = 20 + index * 100
        canvas.frame(x, y + 14, x + 10, y + 24, 1)
        canvas.text(x + 16, y + 16, option, 1)
    y += 44
    canvas.text(20, y, "DOCUMENTOS ANEXOS: LAUDO, RG, CPF, CRLV, RESIDÊNCIA", 3)
    y += 40
    canvas.hline(20, 200, y + 20, 1)
    canvas.hline(240, 420, y + 20, 1)
    canvas.text(20, y + 26, "LOCAL E DATA", 3)
    canvas.text(240, y + 26, "ASSINATURA", 3)
    canvas.save_bmp(path)


# Each fiscal region: its colour and where its name goes.
REGIONS = [
    ("PLANALTO NORTE", 11, (250, 60)),
    ("VALE DO RIO CLARO", 12, (230, 175)),
    ("LITORAL", 13, (370, 250)),
    ("SERTÃO DO OESTE", 14, (40, 220)),
]


def region_of(x, y):
    """Which region a point of the state lies in; the borders wave a little."""
    if y < 120 + 12 * math.sin(x / 37.0):
        return 0
    if x < 170 + 15 * math.sin(y / 23.0):
        return 3
    if x > 330 + 10 * math.cos(y / 19.0):
        return 2
    return 1


def inside_state(x, y):
    dx, dy = (x - 240) / 215.0, (y - 160) / 135.0
    wobble = 0.06 * math.sin(math.atan2(dy, dx) * 7)
    return dx * dx + dy * dy < (1 + wobble) ** 2


def region_map(path):
    canvas = Canvas(480, 320, 5)
    for y in range(canvas.height):
        for x in range(canvas.width):
            if inside_state(x, y):
                canvas.pixels[y][x] = REGIONS[region_of(x, y)][1]
    # A dark outline wherever a state pixel touches the sea or another region.
    colours = [row[:] for row in canvas.pixels]
    for y in range(1, canvas.height - 1):
        for x in range(1, canvas.width - 1):
            here = colours[y][x]
            if here != 5 and (colours[y][x + 1] != here or colours[y + 1][x] != here):
                canvas.pixels[y][x] = 3
    for name, _, (x, y) in REGIONS:
        canvas.text(x, y, name, 1)
    canvas.fill(318, 268, 324, 274, 10)
    canvas.text(300, 280, "PORTO PANDECTA", 10)
    canvas.text(12, 8, "REGIÕES FISCAIS DO ESTADO DE PANDECTA", 2)
    canvas.save_bmp(path)
