# Texts of the Pareceres and Geral folders (markup as in content_icms.py).

PARECERES = [
    dict(
        path="Pareceres/2022/parecer-045-2022.rtf",
        title="Parecer DT nº 45/2022 - ICMS - Refeições vendidas por aplicativo",
        summary="O fornecimento de refeições encomendadas por aplicativo de entrega sujeita-se ao ICMS; a comissão da plataforma não reduz a base de cálculo.",
        date="18/04/2022",
        body="""
## RELATÓRIO
A consulente, restaurante estabelecido em Porto Pandecta, informa que parte relevante de suas vendas é feita por meio de aplicativo de entrega, que retém comissão de 27% sobre o valor de cada pedido. Pergunta se o ICMS deve ser calculado sobre o valor pago pelo cliente ou sobre o valor líquido que lhe é repassado.
## ANÁLISE
O fornecimento de alimentação em restaurantes é fato gerador do ICMS, nos termos do art. 2º, inciso I, do Regulamento do ICMS. A base de cálculo é o valor da operação, isto é, o preço cobrado do consumidor final.
A comissão paga à plataforma é despesa da consulente na contratação de um serviço de intermediação, e não desconto concedido ao adquirente. Por isso não pode ser deduzida da base de cálculo.
A taxa de entrega cobrada do cliente integra a base de cálculo quando o transporte for realizado pelo próprio restaurante ou por sua conta e ordem.
## CONCLUSÃO
O ICMS incide sobre o valor total pago pelo consumidor, incluída a taxa de entrega nas condições acima, sem dedução da comissão retida pelo aplicativo.
> Porto Pandecta, 18 de abril de 2022.
> MARTA QUINTELA ARRUDA - Auditora Fiscal da Receita Estadual
> De acordo. RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[("v2", "Regulamento do ICMS", "ICMS/2021/decreto-4102.rtf")],
    ),
    dict(
        path="Pareceres/2022/parecer-118-2022.rtf",
        title="Parecer DT nº 118/2022 - IPVA - Veículo com alienação fiduciária",
        summary="Na alienação fiduciária, o devedor fiduciante é o contribuinte do IPVA; o credor responde solidariamente apenas após a retomada do veículo.",
        date="07/10/2022",
        body="""
## RELATÓRIO
Instituição financeira pergunta se deve figurar como contribuinte do IPVA dos veículos financiados com alienação fiduciária em garantia, uma vez que detém a propriedade resolúvel dos bens.
## ANÁLISE
O IPVA tem como contribuinte o proprietário do veículo, assim entendido aquele que tem o seu uso e gozo. Na alienação fiduciária, o devedor fiduciante detém a posse direta e utiliza o veículo como se dono fosse, cabendo-lhe o pagamento do imposto.
A instituição credora passa a responder pelo imposto a partir da data em que consolidar a propriedade plena, pela retomada do bem em razão do inadimplemento.
## CONCLUSÃO
O contribuinte do IPVA é o devedor fiduciante. A instituição financeira somente responde pelos débitos relativos aos fatos geradores posteriores à retomada do veículo.
> Porto Pandecta, 7 de outubro de 2022.
> JOAQUIM PRADO VILELA - Auditor Fiscal da Receita Estadual
""",
        links=[],
    ),
    dict(
        path="Pareceres/2023/parecer-012-2023.rtf",
        title="Parecer DT nº 12/2023 - ICMS - Crédito de energia elétrica em panificadora",
        summary="A panificadora pode creditar-se do ICMS da energia elétrica consumida no processo de industrialização, mediante laudo de rateio.",
        date="30/01/2023",
        body="""
## RELATÓRIO
A consulente fabrica pães, bolos e biscoitos e os vende no próprio balcão e a supermercados. Deseja saber se pode creditar-se do imposto incidente sobre a energia elétrica consumida.
## ANÁLISE
A fabricação de produtos de panificação caracteriza industrialização, pois transforma a matéria-prima em produto novo. A energia elétrica consumida nesse processo dá direito ao crédito do imposto.
O crédito não alcança a energia consumida na área de vendas, no escritório e na iluminação externa. Por isso a consulente deverá manter laudo técnico que indique a proporção do consumo em cada área, elaborado por profissional habilitado.
## CONCLUSÃO
É admitido o crédito do ICMS da energia elétrica consumida na produção, na proporção indicada em laudo técnico, que deve ser conservado pelo prazo decadencial.
> Porto Pandecta, 30 de janeiro de 2023.
> MARTA QUINTELA ARRUDA - Auditora Fiscal da Receita Estadual
""",
        links=[],
    ),
    dict(
        path="Pareceres/2023/parecer-077-2023.rtf",
        title="Parecer DT nº 77/2023 - ITCMD - Usufruto e nua-propriedade",
        summary="Na doação com reserva de usufruto, o ITCMD incide sobre dois terços do valor do bem na transmissão da nua-propriedade e sobre o terço restante na extinção do usufruto.",
        date="12/06/2023",
        body="""
## RELATÓRIO
O consulente pretende doar aos filhos um imóvel urbano, reservando para si o usufruto vitalício. Pergunta sobre a base de cálculo do ITCMD e o momento do pagamento.
## ANÁLISE
Nos termos do Decreto nº 4.150, de 27 de julho de 2021, a doação da nua-propriedade é tributada sobre dois terços do valor do bem. O terço restante, correspondente ao usufruto, é tributado quando o usufruto se extinguir, pela morte do usufrutuário ou pela renúncia.
O imposto é pago antes da lavratura da escritura de doação, com base no valor de mercado do imóvel na data da avaliação.
## CONCLUSÃO
Recolhe-se o ITCMD sobre dois terços do valor do imóvel na doação e sobre o terço restante na extinção do usufruto, aplicadas as alíquotas progressivas vigentes em cada momento.
> Porto Pandecta, 12 de junho de 2023.
> JOAQUIM PRADO VILELA - Auditor Fiscal da Receita Estadual
""",
        links=[("v1", "Decreto nº 4.150, de 27 de julho de 2021", "ITCMD/2021/decreto-4150.rtf")],
    ),
    dict(
        path="Pareceres/2023/parecer-140-2023.rtf",
        title="Parecer DT nº 140/2023 - ICMS - Isenção de equipamentos de energia solar",
        summary="A isenção de equipamentos fotovoltaicos não alcança as baterias, ainda que vendidas no mesmo kit.",
        date="25/10/2023",
        body="""
## RELATÓRIO
Empresa distribuidora de equipamentos de energia solar comercializa kits compostos de módulos, inversor, estrutura de fixação e baterias. Pergunta se todo o kit está isento do ICMS.
## ANÁLISE
O Decreto nº 4.522, de 18 de maio de 2023, isenta as operações com módulos, inversores, estruturas e cabos, e exclui expressamente as baterias e demais dispositivos de armazenamento.
Sendo o kit composto de itens isentos e tributados, o documento fiscal deve discriminar cada item com o respectivo valor, aplicando-se a alíquota interna às baterias.
## CONCLUSÃO
O kit não é isento em sua totalidade: as baterias são tributadas normalmente e devem figurar em item próprio da nota fiscal.
> Porto Pandecta, 25 de outubro de 2023.
> MARTA QUINTELA ARRUDA - Auditora Fiscal da Receita Estadual
""",
        links=[("v2", "Decreto nº 4.522, de 18 de maio de 2023", "ICMS/2023/decreto-4522.rtf")],
    ),
    dict(
        path="Pareceres/2024/parecer-009-2024.rtf",
        title="Parecer DT nº 9/2024 - IPVA - Veículo elétrico importado",
        summary="O veículo elétrico importado por pessoa física goza da alíquota reduzida do IPVA a partir do exercício de 2025, como os nacionais.",
        date="22/01/2024",
        body="""
## RELATÓRIO
O consulente importou diretamente um automóvel elétrico e pergunta se a alíquota reduzida do IPVA se aplica a veículos importados.
## ANÁLISE
A redução de alíquota para veículos elétricos e híbridos não distingue a origem do veículo. O que importa é a forma de propulsão, conforme os dados do registro nacional de veículos.
Quanto ao exercício de 2024, aplica-se a alíquota geral de 3%, pois a alíquota reduzida só produz efeitos a partir de 2025.
## CONCLUSÃO
O veículo importado terá a alíquota de 1% a partir do exercício de 2025; em 2024 paga a alíquota dos automóveis em geral.
> Porto Pandecta, 22 de janeiro de 2024.
> JOAQUIM PRADO VILELA - Auditor Fiscal da Receita Estadual
""",
        links=[("v2", "alíquota reduzida", "IPVA/2024/portaria-440.rtf")],
    ),
    dict(
        path="Pareceres/2024/parecer-061-2024.rtf",
        title="Parecer DT nº 61/2024 - ICMS - DIFAL em venda a consumidor final",
        summary="Na venda interestadual a consumidor final não contribuinte, o diferencial de alíquotas cabe ao remetente e é devido ao Estado de destino.",
        date="08/05/2024",
        body="""
## RELATÓRIO
Loja virtual estabelecida em Porto Pandecta vende eletrodomésticos a consumidores de outros Estados e pergunta a quem cabe recolher o diferencial de alíquotas.
## ANÁLISE
Nas operações interestaduais destinadas a consumidor final não contribuinte, o remetente recolhe, em favor do Estado de destino, a diferença entre a alíquota interna daquele Estado e a alíquota interestadual.
O recolhimento é feito por meio de guia nacional, antes da saída da mercadoria, salvo se o remetente tiver inscrição no Estado de destino. O procedimento difere do previsto na Instrução Normativa DT nº 21, que trata das aquisições feitas por contribuintes deste Estado.
## CONCLUSÃO
Cabe à consulente, como remetente, calcular e recolher o DIFAL ao Estado de destino em cada venda a consumidor final não contribuinte.
> Porto Pandecta, 8 de maio de 2024.
> MARTA QUINTELA ARRUDA - Auditora Fiscal da Receita Estadual
""",
        links=[("v2", "Instrução Normativa DT nº 21", "ICMS/2022/in-021.rtf")],
    ),
    dict(
        path="Pareceres/2024/parecer-102-2024.rtf",
        title="Parecer DT nº 102/2024 - ITCMD - Doações sucessivas ao mesmo donatário",
        summary="As doações do mesmo doador ao mesmo donatário no ano civil somam-se para o limite de isenção e para a determinação da alíquota.",
        date="19/08/2024",
        body="""
## RELATÓRIO
A consulente fez três doações em dinheiro à filha ao longo de 2024, cada uma inferior a 2.500 UFP, mas que somadas superam esse valor. Pergunta se há imposto a pagar.
## ANÁLISE
O Decreto nº 4.720, de 22 de abril de 2024, isenta as doações de pequeno valor considerando a soma das doações do mesmo doador ao mesmo donatário no ano civil. Ultrapassado o limite, o imposto incide sobre o total.
A alíquota é determinada pela faixa em que se enquadra o valor somado, conforme a tabela progressiva do imposto.
## CONCLUSÃO
É devido o ITCMD sobre o total das três doações, devendo a consulente entregar declaração retificadora que reúna os valores.
> Porto Pandecta, 19 de agosto de 2024.
> JOAQUIM PRADO VILELA - Auditor Fiscal da Receita Estadual
""",
        links=[("v2", "Decreto nº 4.720, de 22 de abril de 2024", "ITCMD/2024/decreto-4720.rtf"), ("v2", "tabela progressiva", "ITCMD/2021/decreto-4150.rtf")],
    ),
]

GERAL = [
    dict(
        path="Geral/2021/lei-2150.rtf",
        title="Lei nº 2.150, de 29 de dezembro de 2021",
        summary="Institui a Unidade Fiscal de Pandecta (UFP) e dispõe sobre sua atualização anual.",
        date="29/12/2021",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA. Faço saber que a Assembleia Legislativa aprovou e eu sanciono a seguinte Lei:
Art. 1º Fica instituída a Unidade Fiscal de Pandecta (UFP), padrão de referência para a fixação de multas, limites e valores da legislação tributária estadual.
Art. 2º O valor da UFP em 1º de janeiro de 2022 é de R$ 4,12.
Art. 3º A UFP será atualizada em 1º de janeiro de cada ano pela variação do índice oficial de preços ao consumidor acumulada nos doze meses anteriores.
Parágrafo único. O valor atualizado será divulgado por portaria da Secretaria de Estado da Fazenda até o último dia útil de dezembro.
Art. 4º Esta Lei entra em vigor em 1º de janeiro de 2022.
> Palácio das Araucárias, em Porto Pandecta, 29 de dezembro de 2021.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[],
    ),
    dict(
        path="Geral/2022/portaria-199.rtf",
        title="Portaria SEFAZ nº 199, de 1º de julho de 2022",
        summary="Institui o Domicílio Tributário Eletrônico (DT-e) para comunicações entre a Secretaria e os contribuintes.",
        date="01/07/2022",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições,
**RESOLVE:**
Art. 1º Fica instituído o Domicílio Tributário Eletrônico (DT-e), caixa postal eletrônica destinada a notificações, intimações e avisos da Secretaria aos contribuintes.
Art. 2º O credenciamento no DT-e é obrigatório para os contribuintes do ICMS e facultativo para os demais.
Art. 3º Considera-se feita a comunicação:
I - no dia em que o contribuinte abrir a mensagem;
II - no décimo quinto dia após o envio, se a mensagem não for aberta antes.
Art. 4º Esta Portaria entra em vigor em 1º de setembro de 2022.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[("v2", "Domicílio Tributário Eletrônico (DT-e)", "https://www.sefaz.example/dte")],
    ),
    dict(
        path="Geral/2023/decreto-4555.rtf",
        title="Decreto nº 4.555, de 3 de julho de 2023",
        summary="Regulamenta o processo administrativo tributário: prazos de impugnação, recursos e julgamento.",
        date="03/07/2023",
        body="""
O GOVERNADOR DO ESTADO DE PANDECTA, no uso de suas atribuições constitucionais,
**DECRETA:**
## CAPÍTULO I - DA IMPUGNAÇÃO
Art. 1º O sujeito passivo poderá impugnar o auto de infração no prazo de trinta dias contados da ciência.
Parágrafo único. A impugnação será apresentada por meio do Domicílio Tributário Eletrônico, acompanhada das provas de que dispuser o impugnante.
## CAPÍTULO II - DOS RECURSOS
Art. 2º Da decisão de primeira instância cabe recurso voluntário ao Tribunal Administrativo Tributário, no prazo de vinte dias.
Art. 3º São prazos e reduções de multa aplicáveis ao pagamento:
|Momento do pagamento|Redução da multa
|Até 30 dias da ciência do auto|50%
|Até 20 dias da decisão de primeira instância|30%
|Até 20 dias da decisão de segunda instância|15%
Art. 4º Este Decreto entra em vigor na data de sua publicação.
> AURÉLIO BRAGA MENEZES - Governador do Estado
""",
        links=[("v2", "Domicílio Tributário Eletrônico", "Geral/2022/portaria-199.rtf")],
    ),
    dict(
        path="Geral/2023/portaria-402.rtf",
        title="Portaria SEFAZ nº 402, de 28 de dezembro de 2023",
        summary="Divulga o valor da Unidade Fiscal de Pandecta (UFP) para o exercício de 2024 e a série histórica.",
        date="28/12/2023",
        body="""
A SECRETÁRIA DE ESTADO DA FAZENDA, no uso de suas atribuições e nos termos do art. 3º da Lei nº 2.150, de 29 de dezembro de 2021,
**RESOLVE:**
Art. 1º O valor da Unidade Fiscal de Pandecta (UFP) para o exercício de 2024 é de R$ 4,61.
Art. 2º Para consulta, reproduz-se a série histórica da UFP:
|Exercício|Valor da UFP (R$)|Variação
|2022|4,12|-
|2023|4,38|6,31%
|2024|4,61|5,25%
Art. 3º Esta Portaria entra em vigor em 1º de janeiro de 2024.
> HELENA CORDEIRO VASCONCELOS - Secretária de Estado da Fazenda
""",
        links=[("v1", "Lei nº 2.150, de 29 de dezembro de 2021", "Geral/2021/lei-2150.rtf")],
    ),
    dict(
        path="Geral/2024/in-030.rtf",
        title="Instrução Normativa DT nº 30, de 15 de janeiro de 2024",
        summary="Dispõe sobre a emissão de certidão negativa e de certidão positiva com efeitos de negativa de débitos estaduais.",
        date="15/01/2024",
        body="""
O DIRETOR DE TRIBUTAÇÃO, no uso de sua competência regimental,
**RESOLVE:**
Art. 1º A certidão negativa de débitos estaduais será emitida pela internet, no portal da Secretaria, e terá validade de sessenta dias.
Art. 2º Será emitida certidão positiva com efeitos de negativa quando os débitos existentes estiverem:
I - com a exigibilidade suspensa por impugnação ou recurso;
II - incluídos em parcelamento em dia;
III - garantidos por depósito judicial integral.
Art. 3º A autenticidade da certidão pode ser verificada por qualquer interessado, pelo código de controle nela impresso.
Art. 4º Esta Instrução Normativa entra em vigor na data de sua publicação.
> RENATO SIQUEIRA LOBO - Diretor de Tributação
""",
        links=[("v2", "portal da Secretaria", "https://www.sefaz.example/certidao")],
    ),
]
