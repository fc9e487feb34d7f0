#!/usr/bin/env python3
"""Writes the source of the demo collection into samples/demo/: one RTF file
per text, one BMP per picture, and manifest.txt, the list that
`pandecta-tool build-base` reads. The texts are our own, kept in the
content_*.py files beside this script.

    python3 samples/generator/make_demo.py
"""

import os
import sys

import pictures
import rtf
from content_icms import ICMS
from content_ipva_itcmd import IPVA, ITCMD
from content_pareceres_geral import GERAL, PARECERES

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.join(os.path.dirname(HERE), "demo")
AUTHOR = "Secretaria de Estado da Fazenda de Pandecta"

ROOT_TITLE = "Boletim Fiscal do Estado de Pandecta"
# Folder, title, summary, summary of each year's folder, documents.
SUBJECTS = [
    ("ICMS", "ICMS — Imposto sobre Circulação de Mercadorias e Serviços",
     "Regulamento, alíquotas, substituição tributária, benefícios fiscais e obrigações acessórias.",
     "Atos sobre o ICMS publicados em %s.", ICMS),
    ("IPVA", "IPVA — Imposto sobre a Propriedade de Veículos Automotores",
     "Alíquotas, calendários de pagamento, valores venais, isenções e restituições.",
     "Atos sobre o IPVA publicados em %s.", IPVA),
    ("ITCMD", "ITCMD — Imposto sobre Transmissão Causa Mortis e Doação",
     "Alíquotas progressivas, avaliação de bens, declaração eletrônica e isenções.",
     "Atos sobre o ITCMD publicados em %s.", ITCMD),
    ("Pareceres", "Pareceres e Respostas a Consultas",
     "Respostas da Diretoria de Tributação a consultas de contribuintes.",
     "Pareceres emitidos em %s.", PARECERES),
    ("Geral", "Legislação Geral e Processo Administrativo",
     "Unidade Fiscal de Pandecta, domicílio eletrônico, certidões e processo administrativo tributário.",
     "Atos de legislação geral publicados em %s.", GERAL),
]
PICTURES = [
    ("Tabelas/grafico-arrecadacao-icms.bmp", "Gráfico - Arrecadação de ICMS por trimestre, 2021 a 2024",
     "Evolução trimestral da arrecadação do ICMS, em milhões de reais.", "31/01/2025", pictures.revenue_chart),
    ("Tabelas/formulario-isencao-ipva.bmp", "Formulário - Requerimento de isenção do IPVA",
     "Modelo do requerimento de isenção do IPVA para pessoas com deficiência.", "10/03/2023", pictures.exemption_form),
    ("Tabelas/mapa-regioes-fiscais.bmp", "Mapa - Regiões fiscais do Estado",
     "As quatro regiões fiscais usadas na avaliação de imóveis rurais.", "15/05/2023", pictures.region_map),
]

MANIFEST_HEADER = """\
# Demonstração do Pandecta: {title}.
# Textos fictícios, escritos para esta demonstração.
#
# Uma entrada por linha, na ordem em que aparecem na árvore; campos separados por "|".
#   root    | Título | Resumo
#   folder  CAMINHO | Título | Resumo
#   text    ARQUIVO.rtf | Título | Resumo | dd/mm/aaaa
#   bitmap  ARQUIVO.bmp | Título | Resumo | dd/mm/aaaa
#   link v1 "trecho" -> DESTINO     (links do texto logo acima; v1 ou v2)
# A pasta de uma entrada é a do seu caminho; DESTINO é o caminho de outra
# entrada ou um endereço http:// ou https://.
"""


def write_bytes(relative, data):
    path = os.path.join(DEMO, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def year_of(date):
    return date.split("/")[2]


def manifest_lines():
    lines = [MANIFEST_HEADER.format(title=ROOT_TITLE)]
    lines.append("root | %s | Decretos, portarias, instruções normativas e pareceres de 2021 a 2025." % ROOT_TITLE)
    for folder, title, summary, year_summary, documents in SUBJECTS:
        lines.append("")
        lines.append("folder %s | %s | %s" % (folder, title, summary))
        years = sorted({os.path.dirname(doc["path"]) for doc in documents})
        for year_folder in years:
            year = os.path.basename(year_folder)
            lines.append("folder %s | %s | %s" % (year_folder, year, year_summary % year))
            for doc in sorted((d for d in documents if os.path.dirname(d["path"]) == year_folder),
                              key=lambda d: tuple(reversed(d["date"].split("/")))):
                lines.append("text %s | %s | %s | %s" % (doc["path"], doc["title"], doc["summary"], doc["date"]))
                for version, anchor, target in doc["links"]:
                    lines.append('  link %s "%s" -> %s' % (version, anchor, target))
    lines.append("")
    lines.append("folder Tabelas | Tabelas, Gráficos e Formulários | Quadros e modelos de formulários.")
    for path, title, summary, date, _ in PICTURES:
        lines.append("bitmap %s | %s | %s | %s" % (path, title, summary, date))
    return lines


def main():
    for _, _, _, _, documents in SUBJECTS:
        for doc in documents:
            assert year_of(doc["date"]) in doc["path"], doc["path"]  # folders by year of publication
            text = rtf.document(doc["title"], doc["summary"], AUTHOR, doc["date"], doc["body"])
            write_bytes(doc["path"], text.encode("ascii"))
    for path, _, _, _, paint in PICTURES:
        os.makedirs(os.path.dirname(os.path.join(DEMO, path)), exist_ok=True)
        paint(os.path.join(DEMO, path))
    write_bytes("manifest.txt", ("\n".join(manifest_lines()) + "\n").encode("utf-8"))
    count = sum(len(documents) for _, _, _, _, documents in SUBJECTS)
    print("%d textos e %d imagens em %s" % (count, len(PICTURES), DEMO), file=sys.stderr)


if __name__ == "__main__":
    main()
