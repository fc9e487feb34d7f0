# Texts of the IPVA and ITCMD folders (markup as in content_icms.py).

IPVA = [
    dict(
        path="IPVA/2022/decreto-4390.rtf",
        title="Decreto nº 4.390, de 12 de dezembro de 2022",
        summary="Fixa as alíquotas do IPVA para o exercício de 2023 e as condições de pagamento.",
        date="12/12/2022",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
Art. 1º As alíquotas do Imposto sobre a Propriedade de Veículos Automotores (IPVA) para o exercício de 2023 são as seguintes, aplicadas sobre o valor venal do veículo:
|Tipo de veículo|Alíquota
|Automóveis e camionetas de passageiros|3,0%
|Motocicletas, motonetas e ciclomotores|2,0%
|Caminhões e cavalos mecânicos|1,5%
|Ônibus e micro-ônibus|1,0%
|Veículos de locadoras|1,0%
Art. 2º O imposto poderá ser pago em cota única, com desconto de 5%, ou em até cinco parcelas mensais sem desconto.
Art. 3º Os valores venais constam de portaria da Secretaria de Estado da Fazenda.
Art. 4º Este Decreto entra em vigor em 1º de janeiro de 2023.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v2", "valores venais", "IPVA/2022/portaria-250.rtf")],
    ),
    dict(
        path="IPVA/2022/portaria-250.rtf",
        title="Portaria SEFAZ nº 250, de 20 de dezembro de 2022",
        summary="Divulga a tabela de valores venais de veículos automotores para o cálculo do IPVA de 2023.",
        date="20/12/2022",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições,
**RESOLVE:**
Art. 1º Fica aprovada a tabela de valores venais para o cálculo do IPVA de 2023, da qual se reproduzem, a título de exemplo, os seguintes valores:
|Marca e modelo (fictícios)|Ano de fabricação|Valor venal (R$)
|Aurora Compacto 1.0|2020|48.300,00
|Aurora Compacto 1.0|2018|39.750,00
|Serrana Picape 2.0 diesel|2021|152.900,00
|Veloz 160 motocicleta|2022|13.480,00
|Cargueiro 24 t|2019|318.000,00
Art. 2º A tabela completa está disponível para consulta no portal da Secretaria, pela placa ou pelo código RENAVAM.
Art. 3º O contribuinte que discordar do valor venal poderá apresentar impugnação até o vencimento da cota única.
Art. 4º Esta Portaria entra em vigor em 1º de janeiro de 2023.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[("v2", "portal da Secretaria", "https://www.sefaz.example/ipva/valores-venais")],
    ),
    dict(
        path="IPVA/2023/in-024.rtf",
        title="Instrução Normativa DT nº 24, de 10 de março de 2023",
        summary="Estabelece os procedimentos para o reconhecimento da isenção do IPVA de veículos de pessoas com deficiência.",
        date="10/03/2023",
        body="""
O DIRETOR DE TRIBUTAÇÃO, no uso de sua competência regimental,
**RESOLVE:**
Art. 1º O pedido de isenção do IPVA de veículo de propriedade de pessoa com deficiência, ou de seu representante legal, será instruído com os seguintes documentos:
* laudo médico emitido por serviço público de saúde ou por clínica credenciada;
* cópia do documento de identidade e do CPF do beneficiário;
* cópia do certificado de registro e licenciamento do veículo;
* comprovante de residência no Estado.
Art. 2º A isenção alcança um único veículo por beneficiário, de valor venal não superior a R$ 120.000,00.
Art. 3º O pedido será apresentado no formulário próprio, em qualquer repartição fiscal ou pelo portal da Secretaria.
Parágrafo único. Reconhecida a isenção, ela se renova automaticamente enquanto o veículo permanecer em nome do beneficiário.
Art. 4º Esta Instrução Normativa entra em vigor na data de sua publicação.
> RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[("v2", "formulário próprio", "Tabelas/formulario-isencao-ipva.bmp")],
    ),
    dict(
        path="IPVA/2023/portaria-322.rtf",
        title="Portaria SEFAZ nº 322, de 21 de agosto de 2023",
        summary="Regula a restituição proporcional do IPVA de veículo roubado, furtado ou com perda total.",
        date="21/08/2023",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições,
**RESOLVE:**
Art. 1º O proprietário de veículo roubado, furtado ou declarado em perda total por sinistro terá direito à restituição do IPVA pago, na proporção dos meses restantes do exercício.
Art. 2º O pedido será instruído com:
I - boletim de ocorrência policial ou laudo da seguradora;
II - comprovante de pagamento do imposto do exercício;
III - dados bancários do requerente.
Art. 3º A restituição será calculada pela fórmula: valor pago × (12 - mês da ocorrência) ÷ 12.
§ 1º Se o veículo for recuperado no mesmo exercício, o imposto restituído será novamente devido, proporcionalmente.
§ 2º Não há restituição quando a ocorrência se der no mês de dezembro.
Art. 4º Esta Portaria entra em vigor na data de sua publicação.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[],
    ),
    dict(
        path="IPVA/2023/decreto-4601.rtf",
        title="Decreto nº 4.601, de 11 de dezembro de 2023",
        summary="Fixa o calendário de pagamento do IPVA de 2024 conforme o final da placa do veículo.",
        date="11/12/2023",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
Art. 1º O IPVA do exercício de 2024 será pago nos seguintes prazos, conforme o algarismo final da placa:
|Final da placa|Cota única ou 1ª parcela|Última parcela
|1 e 2|15/01/2024|15/05/2024
|3 e 4|16/01/2024|16/05/2024
|5 e 6|17/01/2024|17/05/2024
|7 e 8|18/01/2024|20/05/2024
|9 e 0|19/01/2024|21/05/2024
Art. 2º Permanecem aplicáveis as alíquotas fixadas pelo Decreto nº 4.390, de 12 de dezembro de 2022.
Art. 3º Este Decreto entra em vigor na data de sua publicação.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v2", "Decreto nº 4.390, de 12 de dezembro de 2022", "IPVA/2022/decreto-4390.rtf")],
    ),
    dict(
        path="IPVA/2024/in-031.rtf",
        title="Instrução Normativa DT nº 31, de 5 de fevereiro de 2024",
        summary="Dispõe sobre o parcelamento de débitos de IPVA de exercícios anteriores.",
        date="05/02/2024",
        body="""
O DIRETOR DE TRIBUTAÇÃO, no uso de sua competência regimental,
**RESOLVE:**
Art. 1º Os débitos de IPVA de exercícios anteriores, inscritos ou não em dívida ativa, poderão ser parcelados em até doze parcelas mensais.
Art. 2º O valor de cada parcela não será inferior a 5 UFP.
Art. 3º O parcelamento será solicitado exclusivamente pelo portal da Secretaria, e a primeira parcela vence no quinto dia útil após o pedido.
Art. 4º Enquanto o parcelamento estiver em dia, o licenciamento do veículo poderá ser realizado normalmente.
Art. 5º Esta Instrução Normativa entra em vigor na data de sua publicação.
> RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[("v2", "portal da Secretaria", "https://www.sefaz.example/ipva/parcelamento")],
    ),
    dict(
        path="IPVA/2024/portaria-440.rtf",
        title="Portaria SEFAZ nº 440, de 17 de junho de 2024",
        summary="Regulamenta a alíquota reduzida de 1% do IPVA para veículos elétricos e híbridos.",
        date="17/06/2024",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições,
**RESOLVE:**
Art. 1º A alíquota do IPVA dos automóveis movidos exclusivamente a energia elétrica ou com propulsão híbrida será de 1% a partir do exercício de 2025.
Art. 2º Para os veículos híbridos, a redução depende de o motor elétrico ser capaz de tracionar o veículo sem o auxílio do motor a combustão.
Art. 3º O enquadramento será feito de ofício com base nos dados do registro nacional de veículos; havendo divergência, o proprietário poderá requerer a revisão.
Art. 4º Esta Portaria entra em vigor em 1º de janeiro de 2025.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[],
    ),
    dict(
        path="IPVA/2024/decreto-4770.rtf",
        title="Decreto nº 4.770, de 9 de dezembro de 2024",
        summary="Fixa o calendário e as alíquotas do IPVA para o exercício de 2025.",
        date="09/12/2024",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
Art. 1º O IPVA do exercício de 2025 será pago nos prazos abaixo:
|Final da placa|Cota única (desconto de 5%)|Parcelamento
|1 a 3|15/01/2025|janeiro a maio
|4 a 6|17/01/2025|janeiro a maio
|7 a 0|21/01/2025|janeiro a maio
Art. 2º Aplicam-se as alíquotas do exercício anterior, ressalvada a alíquota de 1% dos veículos elétricos e híbridos.
Art. 3º Este Decreto entra em vigor em 1º de janeiro de 2025.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v1", "veículos elétricos e híbridos", "IPVA/2024/portaria-440.rtf")],
    ),
]

ITCMD = [
    dict(
        path="ITCMD/2021/decreto-4150.rtf",
        title="Decreto nº 4.150, de 27 de julho de 2021",
        summary="Regulamenta o Imposto sobre Transmissão Causa Mortis e Doação (ITCMD) e fixa suas alíquotas progressivas.",
        date="27/07/2021",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
## CAPÍTULO I - DA INCIDÊNCIA
Art. 1º O ITCMD incide sobre a transmissão de quaisquer bens ou direitos:
I - por sucessão legítima ou testamentária;
II - por doação, inclusive a realizada com encargo.
## CAPÍTULO II - DAS ALÍQUOTAS
Art. 2º O imposto será calculado com as seguintes alíquotas progressivas, aplicadas sobre a parcela da base de cálculo compreendida em cada faixa:
|Faixa da base de cálculo|Alíquota
|Até 10.000 UFP|2%
|De 10.000,01 a 30.000 UFP|4%
|De 30.000,01 a 60.000 UFP|6%
|Acima de 60.000 UFP|8%
Art. 3º A base de cálculo é o valor de mercado do bem ou direito na data da avaliação.
Art. 4º Este Decreto entra em vigor em 1º de setembro de 2021.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v2", "UFP", "Geral/2021/lei-2150.rtf")],
    ),
    dict(
        path="ITCMD/2021/in-018.rtf",
        title="Instrução Normativa DT nº 18, de 4 de outubro de 2021",
        summary="Institui a Declaração Eletrônica do ITCMD (DITCMD) e disciplina seu preenchimento.",
        date="04/10/2021",
        body="""
O DIRETOR DE TRIBUTAÇÃO, no uso de sua competência regimental,
**RESOLVE:**
Art. 1º Fica instituída a Declaração Eletrônica do ITCMD (DITCMD), de preenchimento obrigatório em toda transmissão sujeita ao imposto.
Art. 2º A declaração conterá:
* a identificação do transmitente e de cada herdeiro, legatário ou donatário;
* a relação dos bens e direitos, com o valor atribuído pelo declarante;
* a indicação do processo judicial ou da escritura pública, quando houver.
Art. 3º Entregue a declaração, a Secretaria emitirá o documento de arrecadação ou, havendo divergência de valores, notificará o declarante para avaliação contraditória.
Art. 4º Esta Instrução Normativa entra em vigor na data de sua publicação.
> RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[("v2", "ITCMD", "ITCMD/2021/decreto-4150.rtf"), ("v1", "Declaração Eletrônica do ITCMD (DITCMD), de", "https://www.sefaz.example/itcmd/declaracao")],
    ),
    dict(
        path="ITCMD/2023/portaria-288.rtf",
        title="Portaria SEFAZ nº 288, de 15 de maio de 2023",
        summary="Define critérios para a avaliação de imóveis rurais na apuração da base de cálculo do ITCMD.",
        date="15/05/2023",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições,
**RESOLVE:**
Art. 1º O valor do imóvel rural para fins do ITCMD não será inferior ao valor da terra nua por hectare fixado para cada região fiscal:
|Região fiscal|Terra nua (R$ por hectare)
|Planalto Norte|14.200,00
|Vale do Rio Claro|18.650,00
|Litoral|9.800,00
|Sertão do Oeste|6.350,00
Art. 2º Às benfeitorias será atribuído o valor constante da declaração, salvo prova em contrário produzida pelo fisco.
Art. 3º Esta Portaria entra em vigor na data de sua publicação.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[("v2", "região fiscal", "Tabelas/mapa-regioes-fiscais.bmp")],
    ),
    dict(
        path="ITCMD/2023/in-026.rtf",
        title="Instrução Normativa DT nº 26, de 24 de agosto de 2023",
        summary="Orienta sobre o ITCMD na doação de quotas de sociedades e na sucessão de planos de previdência privada.",
        date="24/08/2023",
        body="""
O DIRETOR DE TRIBUTAÇÃO, no uso de sua competência regimental,
**RESOLVE:**
Art. 1º Na doação de quotas ou ações de sociedade não negociadas em bolsa, a base de cálculo é o valor patrimonial apurado em balanço levantado na data da doação.
Art. 2º Os valores de planos de previdência privada do tipo PGBL e VGBL transmitidos por morte do titular integram a base de cálculo do imposto.
Parágrafo único. A instituição financeira reterá o imposto e o recolherá em nome dos beneficiários, até o décimo dia útil após o pagamento.
Art. 3º Esta Instrução Normativa entra em vigor na data de sua publicação.
> RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[],
    ),
    dict(
        path="ITCMD/2024/decreto-4720.rtf",
        title="Decreto nº 4.720, de 22 de abril de 2024",
        summary="Concede isenção do ITCMD para doações de pequeno valor, até 2.500 UFP por ano e por donatário.",
        date="22/04/2024",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
Art. 1º Ficam isentas do ITCMD as doações cujo valor, somado ao das demais doações feitas pelo mesmo doador ao mesmo donatário no ano civil, não ultrapasse 2.500 UFP.
Art. 2º A isenção não dispensa a entrega da declaração eletrônica do imposto.
Art. 3º Ultrapassado o limite, o imposto incidirá sobre o valor total das doações do ano.
Art. 4º Este Decreto entra em vigor na data de sua publicação.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v2", "declaração eletrônica do imposto", "ITCMD/2021/in-018.rtf")],
    ),
]
