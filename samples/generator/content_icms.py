# Texts of the ICMS folder of the demo collection.
#
# Markup of a body (one paragraph per line):
#   ## TEXT           centred bold sub-heading (CAPÍTULO, SEÇÃO)
#   Art. / § / Parágrafo único   the label is set in bold
#   I - text          an inciso, indented
#   * text            a bulleted list item
#   |a|b|c            a table row; consecutive rows form one table, the first in bold
#   > text            a centred line (place, date, signature)
#   **text**          bold inside a paragraph
# Links: (version, anchor text, target) where the target is another entry's
# path or a web address.

ICMS = [
    dict(
        path="ICMS/2021/decreto-4102.rtf",
        title="Decreto nº 4.102, de 15 de março de 2021",
        summary="Aprova o Regulamento do ICMS do Estado de Pandecta (RICMS-PD) e dá outras providências.",
        date="15/03/2021",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso das atribuições que lhe confere o art. 71, inciso IV, da Constituição Estadual, e tendo em vista o disposto na Lei nº 1.870, de 28 de dezembro de 2020,
**DECRETA:**
Art. 1º Fica aprovado o Regulamento do Imposto sobre Operações Relativas à Circulação de Mercadorias e sobre Prestações de Serviços de Transporte Interestadual e Intermunicipal e de Comunicação (RICMS-PD), que com este se publica.
Art. 2º O imposto incide sobre:
I - as operações relativas à circulação de mercadorias, inclusive o fornecimento de alimentação e bebidas em bares, restaurantes e estabelecimentos similares;
II - as prestações de serviços de transporte interestadual e intermunicipal, por qualquer via, de pessoas, bens, mercadorias ou valores;
III - as prestações onerosas de serviços de comunicação, por qualquer meio;
IV - a entrada de mercadoria ou bem importados do exterior, ainda que não destinados à comercialização.
Art. 3º A base de cálculo do imposto é o valor da operação ou da prestação, nele integrado o montante do próprio imposto.
§ 1º Integram também a base de cálculo os seguros, os juros e as demais importâncias pagas, recebidas ou debitadas, bem como os descontos concedidos sob condição.
§ 2º O frete cobrado pelo remetente, em separado, integra a base de cálculo quando o transporte for por ele efetuado.
Art. 4º As alíquotas internas são as fixadas em decreto específico, observados os limites da legislação complementar.
Art. 5º Este Decreto entra em vigor em 1º de abril de 2021.
> Palácio das Araucárias, em Porto Pandecta, 15 de março de 2021.
> AURÉLIO BRAGA MENEZES - Governador do Estado
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[("v2", "Lei nº 1.870, de 28 de dezembro de 2020", "https://www.sefaz.example/legislacao/lei-1870-2020")],
    ),
    dict(
        path="ICMS/2021/portaria-112.rtf",
        title="Portaria SEFAZ nº 112, de 3 de maio de 2021",
        summary="Fixa os prazos de recolhimento do ICMS por setor de atividade econômica.",
        date="03/05/2021",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições e considerando o art. 4º do Regulamento do ICMS,
**RESOLVE:**
Art. 1º O ICMS apurado no período mensal será recolhido até o dia do mês subsequente indicado na tabela abaixo, conforme a atividade preponderante do estabelecimento:
|Setor de atividade|Código CNAE (grupo)|Vencimento
|Indústria em geral|10 a 33|dia 12
|Comércio atacadista|46|dia 15
|Comércio varejista|47|dia 20
|Energia elétrica e comunicação|35 e 61|dia 10
|Transporte de cargas|49|dia 18
Parágrafo único. Quando o vencimento recair em dia sem expediente bancário, o recolhimento poderá ser feito no primeiro dia útil seguinte, sem acréscimos.
Art. 2º O recolhimento fora do prazo sujeita o contribuinte à multa de mora de 0,33% por dia de atraso, limitada a 20%, além de juros equivalentes à taxa Selic.
Art. 3º Esta Portaria entra em vigor na data de sua publicação.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[("v2", "Regulamento do ICMS", "ICMS/2021/decreto-4102.rtf")],
    ),
    dict(
        path="ICMS/2021/in-015.rtf",
        title="Instrução Normativa DT nº 15, de 20 de setembro de 2021",
        summary="Dispõe sobre a Escrituração Fiscal Digital (EFD) e a entrega do arquivo mensal pelos contribuintes do ICMS.",
        date="20/09/2021",
        body="""
O DIRETOR DE TRIBUTAÇÃO, no uso da competência que lhe atribui o Regimento Interno da Secretaria de Estado da Fazenda,
**RESOLVE:**
Art. 1º Estão obrigados à Escrituração Fiscal Digital (EFD) todos os contribuintes do ICMS inscritos no Cadastro de Contribuintes do Estado, exceto:
I - o microempreendedor individual;
II - o produtor rural pessoa física sem inscrição como empresa;
III - o estabelecimento que tenha apenas inscrição para fins de substituição tributária.
Art. 2º O arquivo da EFD será transmitido até o dia 25 do mês seguinte ao do período de apuração, por meio do programa validador disponível no portal da Secretaria.
Art. 3º A falta de entrega ou a entrega fora do prazo sujeita o contribuinte à multa de 50 UFP por arquivo, reduzida à metade quando a entrega ocorrer antes de qualquer procedimento fiscal.
§ 1º O arquivo retificador substitui integralmente o anterior e pode ser transmitido até o último dia do terceiro mês seguinte ao da apuração.
§ 2º Depois desse prazo, a retificação depende de autorização da repartição fiscal do domicílio do contribuinte.
Art. 4º Esta Instrução Normativa entra em vigor em 1º de janeiro de 2022.
> RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[("v1", "portal da Secretaria", "https://www.sefaz.example/efd")],
    ),
    dict(
        path="ICMS/2022/decreto-4250.rtf",
        title="Decreto nº 4.250, de 10 de janeiro de 2022",
        summary="Fixa as alíquotas internas do ICMS aplicáveis às operações e prestações realizadas no Estado.",
        date="10/01/2022",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
Art. 1º As alíquotas internas do ICMS são as seguintes:
|Mercadoria ou serviço|Alíquota
|Operações e prestações em geral|18%
|Arroz, feijão, farinha de mandioca e demais itens da cesta básica|7%
|Carnes, leite e ovos|12%
|Energia elétrica residencial acima de 200 kWh mensais|25%
|Bebidas alcoólicas, exceto cerveja artesanal|25%
|Fumo e seus derivados|27%
|Serviços de comunicação|20%
Art. 2º Nas operações interestaduais aplicam-se as alíquotas fixadas pelo Senado Federal.
Parágrafo único. Para o cálculo do diferencial de alíquotas, observar-se-á a alíquota interna prevista no art. 1º.
Art. 3º Este Decreto entra em vigor em 1º de março de 2022.
> Palácio das Araucárias, em Porto Pandecta, 10 de janeiro de 2022.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[],
    ),
    dict(
        path="ICMS/2022/decreto-4311.rtf",
        title="Decreto nº 4.311, de 22 de junho de 2022",
        summary="Dispõe sobre a substituição tributária nas operações com combustíveis e fixa as margens de valor agregado.",
        date="22/06/2022",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
Art. 1º Nas operações com combustíveis, o refinador ou o importador é responsável, na condição de substituto tributário, pela retenção e recolhimento do ICMS devido nas operações subsequentes até o consumidor final.
Art. 2º A base de cálculo do imposto retido é o valor da operação acrescido da margem de valor agregado (MVA) indicada a seguir:
|Produto|MVA original
|Gasolina automotiva|42,50%
|Óleo diesel S10|31,20%
|Etanol hidratado|28,70%
|Gás liquefeito de petróleo (GLP)|65,10%
Art. 3º O imposto retido será recolhido até o dia 10 do mês subsequente ao da saída.
§ 1º O posto revendedor que receber combustível sem a retenção responde solidariamente pelo imposto.
§ 2º A diferença entre o preço praticado e a base presumida não gera direito a restituição, salvo decisão judicial.
Art. 4º Este Decreto entra em vigor em 1º de agosto de 2022.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v2", "ICMS", "ICMS/2021/decreto-4102.rtf")],
    ),
    dict(
        path="ICMS/2022/portaria-208.rtf",
        title="Portaria SEFAZ nº 208, de 5 de agosto de 2022",
        summary="Disciplina o credenciamento de contribuintes para a emissão de Nota Fiscal Eletrônica ao consumidor (NFC-e).",
        date="05/08/2022",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições,
**RESOLVE:**
Art. 1º O contribuinte varejista que pretenda emitir a Nota Fiscal Eletrônica ao Consumidor (NFC-e) deverá solicitar credenciamento no portal da Secretaria, informando:
* o número de inscrição estadual do estabelecimento;
* o nome do responsável técnico pelo sistema emissor;
* o código de segurança do contribuinte, gerado no próprio portal.
Art. 2º O credenciamento será deferido automaticamente quando o estabelecimento estiver em situação regular no Cadastro de Contribuintes.
Art. 3º A partir do credenciamento fica vedado o uso de cupom fiscal emitido por equipamento emissor, que deverá ser cessado em até 90 dias.
Art. 4º Esta Portaria entra em vigor na data de sua publicação.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[("v2", "portal da Secretaria", "https://www.sefaz.example/nfce/credenciamento")],
    ),
    dict(
        path="ICMS/2022/in-021.rtf",
        title="Instrução Normativa DT nº 21, de 14 de novembro de 2022",
        summary="Estabelece procedimentos para o cálculo e o recolhimento do diferencial de alíquotas (DIFAL).",
        date="14/11/2022",
        body="""
O DIRETOR DE TRIBUTAÇÃO, no uso de sua competência regimental,
**RESOLVE:**
Art. 1º Nas aquisições interestaduais de mercadorias destinadas a uso, consumo ou ativo imobilizado, o contribuinte deste Estado recolherá o imposto correspondente à diferença entre a alíquota interna e a interestadual.
Art. 2º O cálculo obedecerá às seguintes etapas:
I - exclui-se da base de cálculo o ICMS da operação interestadual;
II - inclui-se na base o imposto calculado pela alíquota interna;
III - aplica-se a alíquota interna sobre a base obtida;
IV - deduz-se o imposto destacado no documento fiscal de origem.
Art. 3º Exemplo: aquisição de R$ 10.000,00 tributada a 12% na origem, com alíquota interna de 18%:
|Etapa|Valor (R$)
|Valor sem o ICMS de origem|8.800,00
|Base com o ICMS interno|10.731,71
|ICMS interno (18%)|1.931,71
|(-) ICMS de origem|1.200,00
|DIFAL a recolher|731,71
Art. 4º Esta Instrução Normativa entra em vigor na data de sua publicação.
> RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[("v2", "alíquota interna", "ICMS/2022/decreto-4250.rtf")],
    ),
    dict(
        path="ICMS/2023/decreto-4480.rtf",
        title="Decreto nº 4.480, de 6 de fevereiro de 2023",
        summary="Institui o Programa Especial de Parcelamento do ICMS (REFIS-PD 2023) com redução de multas e juros.",
        date="06/02/2023",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
Art. 1º Fica instituído o Programa Especial de Parcelamento (REFIS-PD 2023), destinado à regularização de débitos de ICMS cujos fatos geradores tenham ocorrido até 31 de dezembro de 2022.
Art. 2º Os débitos poderão ser pagos com as seguintes reduções:
|Forma de pagamento|Redução das multas|Redução dos juros
|Parcela única|95%|80%
|Até 12 parcelas|80%|60%
|Até 36 parcelas|60%|40%
|Até 60 parcelas|40%|20%
§ 1º O valor mínimo de cada parcela é de 20 UFP.
§ 2º A falta de pagamento de três parcelas, consecutivas ou não, implica a perda dos benefícios.
Art. 3º A adesão será feita no portal da Secretaria até 31 de julho de 2023.
Art. 4º Este Decreto entra em vigor na data de sua publicação.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v2", "UFP", "Geral/2021/lei-2150.rtf"), ("v2", "portal da Secretaria", "https://www.sefaz.example/refis")],
    ),
    dict(
        path="ICMS/2023/decreto-4522.rtf",
        title="Decreto nº 4.522, de 18 de maio de 2023",
        summary="Concede isenção do ICMS nas operações com equipamentos e componentes para geração de energia solar fotovoltaica.",
        date="18/05/2023",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
Art. 1º Ficam isentas do ICMS as operações internas com os seguintes equipamentos e componentes destinados à geração de energia solar fotovoltaica:
I - módulos e células fotovoltaicas;
II - inversores de frequência de potência até 75 kW;
III - estruturas metálicas de fixação próprias para módulos fotovoltaicos;
IV - cabos e conectores específicos para corrente contínua.
Art. 2º A isenção não alcança as baterias e demais dispositivos de armazenamento de energia.
Art. 3º Fica dispensado o estorno do crédito relativo às entradas das mercadorias de que trata o art. 1º.
Art. 4º Este Decreto produz efeitos de 1º de junho de 2023 a 31 de dezembro de 2026.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[],
    ),
    dict(
        path="ICMS/2023/portaria-301.rtf",
        title="Portaria SEFAZ nº 301, de 30 de junho de 2023",
        summary="Atualiza os valores de pauta fiscal para as operações com gado bovino e bubalino.",
        date="30/06/2023",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições,
**RESOLVE:**
Art. 1º Nas operações com gado bovino e bubalino, a base de cálculo do ICMS não será inferior aos valores da pauta fiscal abaixo, por cabeça:
|Categoria|Valor mínimo (R$)
|Bezerro até 12 meses|1.650,00
|Novilho de 12 a 24 meses|2.480,00
|Boi acima de 24 meses|3.920,00
|Vaca|2.870,00
|Touro reprodutor|6.300,00
|Búfalo|3.450,00
Art. 2º Prevalece o valor da operação quando este for superior ao da pauta.
Art. 3º Esta Portaria entra em vigor em 1º de julho de 2023.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[],
    ),
    dict(
        path="ICMS/2023/in-027.rtf",
        title="Instrução Normativa DT nº 27, de 11 de setembro de 2023",
        summary="Disciplina a apropriação do crédito de ICMS nas aquisições de bens do ativo imobilizado (CIAP).",
        date="11/09/2023",
        body="""
O DIRETOR DE TRIBUTAÇÃO, no uso de sua competência regimental,
**RESOLVE:**
Art. 1º O crédito do ICMS relativo à entrada de bem destinado ao ativo imobilizado será apropriado à razão de um quarenta e oito avos por mês, a partir do mês da entrada.
Art. 2º O valor mensal do crédito será multiplicado pela proporção entre as saídas tributadas e o total das saídas do período.
Parágrafo único. As saídas para o exterior equiparam-se às tributadas.
Art. 3º O controle será feito no bloco G da Escrituração Fiscal Digital, no qual constarão:
* a identificação do bem e a data da entrada;
* o valor do imposto destacado e o do diferencial de alíquotas;
* as parcelas já apropriadas e o saldo remanescente.
Art. 4º Na alienação do bem antes de decorrido o prazo de quatro anos, cessa a apropriação das parcelas restantes.
Art. 5º Esta Instrução Normativa entra em vigor na data de sua publicação.
> RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[("v1", "Escrituração Fiscal Digital", "ICMS/2021/in-015.rtf")],
    ),
    dict(
        path="ICMS/2024/decreto-4690.rtf",
        title="Decreto nº 4.690, de 8 de janeiro de 2024",
        summary="Altera a alíquota interna geral do ICMS de 18% para 19% e dá outras providências.",
        date="08/01/2024",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais, e tendo em vista a necessidade de recompor a receita estadual,
**DECRETA:**
Art. 1º O Decreto nº 4.250, de 10 de janeiro de 2022, passa a vigorar com as seguintes alterações:
I - a alíquota das operações e prestações em geral passa de 18% para 19%;
II - a alíquota dos serviços de comunicação passa de 20% para 19%.
Art. 2º Permanecem inalteradas as alíquotas aplicáveis aos produtos da cesta básica, às carnes, ao leite e aos ovos.
Art. 3º Este Decreto entra em vigor em 1º de abril de 2024, observado o prazo de noventa dias previsto na Constituição Federal.
> Palácio das Araucárias, em Porto Pandecta, 8 de janeiro de 2024.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v1", "Decreto nº 4.250, de 10 de janeiro de 2022", "ICMS/2022/decreto-4250.rtf")],
    ),
    dict(
        path="ICMS/2024/portaria-415.rtf",
        title="Portaria SEFAZ nº 415, de 15 de março de 2024",
        summary="Publica o calendário fiscal de 2024 para entrega de declarações e recolhimento do ICMS.",
        date="15/03/2024",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições,
**RESOLVE:**
Art. 1º Fica aprovado o calendário fiscal de 2024 para os contribuintes do regime normal de apuração:
|Obrigação|Prazo|Referência
|Recolhimento do ICMS próprio|dia 15|mês anterior
|Recolhimento do ICMS retido|dia 10|mês anterior
|Transmissão da EFD|dia 25|mês anterior
|Declaração anual do Simples (DEFIS-PD)|31 de março|ano anterior
|Inventário de estoques|28 de fevereiro|31 de dezembro anterior
Art. 2º Os prazos que recaírem em sábado, domingo ou feriado ficam prorrogados para o primeiro dia útil seguinte.
Art. 3º Esta Portaria entra em vigor na data de sua publicação.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[("v2", "Transmissão da EFD", "ICMS/2021/in-015.rtf")],
    ),
    dict(
        path="ICMS/2024/in-033.rtf",
        title="Instrução Normativa DT nº 33, de 2 de julho de 2024",
        summary="Orienta sobre a devolução de mercadorias e o aproveitamento do crédito do imposto.",
        date="02/07/2024",
        body="""
O DIRETOR DE TRIBUTAÇÃO, no uso de sua competência regimental,
**RESOLVE:**
Art. 1º Na devolução de mercadoria recebida, o contribuinte emitirá nota fiscal de devolução com destaque do imposto pelo mesmo valor creditado na entrada.
Art. 2º Quando a mercadoria for devolvida por consumidor final não contribuinte, o estabelecimento poderá creditar-se do imposto debitado na saída, desde que:
I - emita nota fiscal de entrada com a indicação do documento original;
II - mantenha declaração assinada pelo consumidor, com o motivo da devolução;
III - efetue a devolução no prazo de noventa dias da venda.
Art. 3º A troca de mercadoria no mesmo valor dispensa a emissão de novo documento, bastando a anotação no verso do cupom original.
Art. 4º Esta Instrução Normativa entra em vigor na data de sua publicação.
> RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[],
    ),
    dict(
        path="ICMS/2024/decreto-4755.rtf",
        title="Decreto nº 4.755, de 28 de outubro de 2024",
        summary="Institui regime especial de tributação para bares, restaurantes e similares, com carga tributária de 4%.",
        date="28/10/2024",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
Art. 1º Os bares, restaurantes, lanchonetes e estabelecimentos similares poderão optar por regime especial em que o ICMS devido no fornecimento de refeições corresponderá a 4% da receita bruta.
Art. 2º A opção pelo regime:
I - veda o aproveitamento de quaisquer créditos relativos às entradas;
II - abrange todos os estabelecimentos do mesmo titular situados no Estado;
III - vale por no mínimo doze meses.
Art. 3º O fornecimento de bebidas alcoólicas continua sujeito às regras gerais de tributação.
Art. 4º Este Decreto entra em vigor em 1º de janeiro de 2025.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v2", "refeições", "Pareceres/2022/parecer-045-2022.rtf")],
    ),
]
