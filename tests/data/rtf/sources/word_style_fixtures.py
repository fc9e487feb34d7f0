import struct, zlib, binascii

def hexlines(data, width=64):
    h = binascii.hexlify(data).decode()
    return "\n".join(h[i:i+width] for i in range(0, len(h), width))

def dib(w, h):
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, 0, 2835, 2835, 0, 0)
    row = b"".join(bytes((40 + 12 * x, 90, 160)) for x in range(w))
    row += b"\0" * ((4 - len(row) % 4) % 4)
    return header + row * h

def wmf_stub():
    # A placeable-less metafile header with no records but the end: nothing to draw.
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, 12, 0, 3, 0)
    return header + struct.pack("<IH", 3, 0)

W = r"""{\rtf1\adeflang1025\ansi\ansicpg1252\uc1\adeff0\deff0\stshfdbch0\stshfloch0\stshfhich0\stshfbi0\deflang1046\deflangfe1046\deftab708{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}{\f1\fbidi \fswiss\fcharset0\fprq2{\*\panose 020b0604020202020204}Arial;}{\f2\fbidi \froman\fcharset2\fprq2{\*\panose 05050102010706020507}Symbol;}}
{\colortbl;\red0\green0\blue0;\red0\green0\blue255;\red217\green217\blue217;}
{\stylesheet{\ql \li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs22\alang1025 \ltrch\fcs0 \fs22\lang1046\langfe1046\cgrid\langnp1046\langfenp1046 \snext0 \sqformat \spriority0 Normal;}}
{\*\listtable{\list\listtemplateid1042\listhybrid{\listlevel\levelnfc0\levelnfcn0\leveljc0\leveljcn0\levelfollow0\levelstartat1\levelspace0\levelindent0{\leveltext\leveltemplateid68550671\'02\'00.;}{\levelnumbers\'01;}\rtlch\fcs1 \af0 \ltrch\fcs0 \fi-360\li720\jclisttab\tx720\lin720 }{\listname ;}\listid1001}
{\list\listtemplateid2042\listhybrid{\listlevel\levelnfc23\levelnfcn23\leveljc0\leveljcn0\levelfollow0\levelstartat1\levelspace0\levelindent0{\leveltext\leveltemplateid68550657\'01\u-3913 ?;}{\levelnumbers;}\f2\fbias0 \fi-360\li720\jclisttab\tx720\lin720 }{\listname ;}\listid1002}
{\list\listtemplateid3042\listhybrid{\listlevel\levelnfc4\levelnfcn4\leveljc0\leveljcn0\levelfollow0\levelstartat1\levelspace0\levelindent0{\leveltext\leveltemplateid68550681\'02\'00);}{\levelnumbers\'01;}\rtlch\fcs1 \af0 \ltrch\fcs0 \fi-360\li1080\jclisttab\tx1080\lin1080 }{\listname ;}\listid1003}}
{\*\listoverridetable{\listoverride\listid1001\listoverridecount0\ls1}{\listoverride\listid1002\listoverridecount0\ls2}{\listoverride\listid1003\listoverridecount0\ls3}}
{\info{\title Portaria}{\author Pandecta}}
\paperw11906\paperh16838\margl1701\margr1134\margt1417\margb1134\gutter0\ltrsect
\widowctrl\ftnbj\aenddoc\hyphhotz425\formshade\horzdoc\dgmargin\dghspace180\dgvspace180\dghorigin1701\dgvorigin1417\dghshow1\dgvshow1\jexpand\viewkind1\viewscale100\splytwnine\ftnlytwnine\htmautsp\nolnhtadjtbl\useltbeforepara\alntblind\lytcalctblwd\lyttblrtgr\lnbrkrule\nobrkwrptbl\snaptogridincell\allowfieldendsel\wrppunct\asianbrkrule\rsidroot1234567\newtblstyruls\nogrowautofit\usenormstyforlist\noindnmbrts\felnbrelev\nocxsptable\indrlsweleven\noafcnsttbl\afelev\utinl\hwelev\spltpgpar\notcvasp\notbrkcnstfrctbl\notvatxbx\krnprsnet\cachedcolbal \nouicompat \fet0{\*\wgrffmtfilter 2450}\nofeaturethrottle1\ilfomacatclnup0\ltrpar \sectd \ltrsect\linex0\headery708\footery708\colsx708\endnhere\sectlinegrid360\sectdefaultcl\sftnbj
\pard\plain \ltrpar\qc \li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \rtlch\fcs1 \af0\afs22\alang1025 \ltrch\fcs0 \fs22\lang1046\langfe1046\cgrid\langnp1046\langfenp1046 {\rtlch\fcs1 \ab\af1 \ltrch\fcs0 \b\f1 PORTARIA N\'ba 91, DE 14 DE AGOSTO DE 2024\par }
\pard \ltrpar\qj \li4253\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin4253\itap0 {\rtlch\fcs1 \ai\af0 \ltrch\fcs0 \i Disciplina a compensa\'e7\'e3o de cr\'e9ditos acumulados e aprova os prazos de an\'e1lise dos pedidos.\par }
\pard \ltrpar\qj \fi709\li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 {\rtlch\fcs1 \af0 \ltrch\fcs0 O SECRET\'c1RIO DE ESTADO DA FAZENDA, no uso das atribui\'e7\'f5es que lhe confere o regulamento, resolve:\par }
{\rtlch\fcs1 \ab\af0 \ltrch\fcs0 \b Art. 1\'ba}{\rtlch\fcs1 \af0 \ltrch\fcs0  O contribuinte que acumular cr\'e9dito do imposto poder\'e1 utiliz\'e1-lo para:\par }
\pard \ltrpar\qj \fi-360\li720\ri0\sa120\sl276\slmult1\widctlpar\jclisttab\tx720\wrapdefault\aspalpha\aspnum\faauto\ls1\adjustright\rin0\lin720\itap0 {\listtext\pard\plain\ltrpar \rtlch\fcs1 \af0\afs22 \ltrch\fcs0 \fs22\lang1046\langfe1046\langnp1046\langfenp1046 1.\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 pagamento de d\'e9bito fiscal decorrente de entrada de mercadoria importada do exterior, inclusive quando realizada por conta e ordem de terceiros estabelecidos em outra unidade federada;\par }
{\listtext\pard\plain\ltrpar \rtlch\fcs1 \af0\afs22 \ltrch\fcs0 \fs22\lang1046\langfe1046\langnp1046\langfenp1046 2.\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 transfer\'eancia a estabelecimento do mesmo titular ou a estabelecimento fornecedor, para pagamento de aquisi\'e7\'f5es de mat\'e9rias-primas, materiais de embalagem e bens do ativo imobilizado;\par }
{\listtext\pard\plain\ltrpar \rtlch\fcs1 \af0\afs22 \ltrch\fcs0 \fs22\lang1046\langfe1046\langnp1046\langfenp1046 3.\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 quita\'e7\'e3o de d\'e9bitos inscritos em d\'edvida ativa, desde que n\'e3o estejam garantidos por dep\'f3sito judicial ou penhora de bens;\par }
\pard \ltrpar\qj \fi-360\li1080\ri0\sa120\sl276\slmult1\widctlpar\jclisttab\tx1080\wrapdefault\aspalpha\aspnum\faauto\ls3\adjustright\rin0\lin1080\itap0 {\listtext\pard\plain\ltrpar \rtlch\fcs1 \af0\afs22 \ltrch\fcs0 \fs22 a)\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 o pedido ser\'e1 instru\'eddo com a certid\'e3o de inscri\'e7\'e3o e com o demonstrativo do cr\'e9dito acumulado no per\'edodo de apura\'e7\'e3o anterior;\par }
{\listtext\pard\plain\ltrpar \rtlch\fcs1 \af0\afs22 \ltrch\fcs0 \fs22 b)\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 a compensa\'e7\'e3o ser\'e1 homologada pela unidade de fiscaliza\'e7\'e3o no prazo de noventa dias contados da entrega dos documentos.\par }
\pard \ltrpar\qj \fi709\li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 {\rtlch\fcs1 \ab\af0 \ltrch\fcs0 \b Art. 2\'ba}{\rtlch\fcs1 \af0 \ltrch\fcs0  N\'e3o se admite a compensa\'e7\'e3o nos seguintes casos:\par }
\pard \ltrpar\qj \fi-360\li720\ri0\sa120\sl276\slmult1\widctlpar\jclisttab\tx720\wrapdefault\aspalpha\aspnum\faauto\ls2\adjustright\rin0\lin720\itap0 {\listtext\pard\plain\ltrpar \rtlch\fcs1 \af2\afs22 \ltrch\fcs0 \f2\fs22\lang1046\langfe1046\langnp1046\langfenp1046 \loch\af2\dbch\af0\hich\f2 \'b7\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 cr\'e9dito decorrente de opera\'e7\'e3o cuja documenta\'e7\'e3o fiscal tenha sido considerada inid\'f4nea pela fiscaliza\'e7\'e3o estadual em procedimento regular;\par }
{\listtext\pard\plain\ltrpar \rtlch\fcs1 \af2\afs22 \ltrch\fcs0 \f2\fs22\lang1046\langfe1046\langnp1046\langfenp1046 \loch\af2\dbch\af0\hich\f2 \'b7\tab}{\rtlch\fcs1 \af0 \ltrch\fcs0 d\'e9bito de estabelecimento que esteja com a inscri\'e7\'e3o estadual suspensa ou cancelada na data do pedido.\par }
\pard \ltrpar\qj \fi709\li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 {\rtlch\fcs1 \ab\af0 \ltrch\fcs0 \b Art. 3\'ba}{\rtlch\fcs1 \af0 \ltrch\fcs0  Os pedidos ser\'e3o analisados nos prazos seguintes:\par }
__TABLE__
\pard \ltrpar\qj \fi709\li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 {\rtlch\fcs1 \ab\af0 \ltrch\fcs0 \b Art. 4\'ba}{\rtlch\fcs1 \af0 \ltrch\fcs0  O bras\'e3o do Estado e o selo de autenticidade constam do anexo:\tab Anexo \'fanico.\par }
\pard \ltrpar\qc \li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 {\rtlch\fcs1 \af0 \ltrch\fcs0 {\*\shppict{\pict{\*\picprop\shplid1025{\sp{\sn shapeType}{\sv 75}}}\picscalex100\picscaley100\piccropl0\piccropr0\piccropt0\piccropb0\picw2540\pich1270\picwgoal1440\pichgoal720\emfblip\bliptag1 __EMF__}}{\nonshppict{\pict\picscalex100\picscaley100\piccropl0\piccropr0\piccropt0\piccropb0\picw2540\pich1270\picwgoal1440\pichgoal720\wmetafile8\bliptag1 __WMF__}} Bras\'e3o{\pict\picscalex100\picscaley100\picw0\pich0\picwgoal0\pichgoal0\wmetafile8 __WMF__} e selo {\pict\picw16\pich8\picwgoal480\pichgoal240\dibitmap0 __DIB__}\par }
\pard \ltrpar\qj \fi709\li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 {\rtlch\fcs1 \ab\af0 \ltrch\fcs0 \b Art. 5\'ba}{\rtlch\fcs1 \af0 \ltrch\fcs0  Esta Portaria entra em vigor na data de sua publica\'e7\'e3o.\par }
\pard \ltrpar\qr \li0\ri0\sa200\sl276\slmult1\widctlpar\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 {\rtlch\fcs1 \af0 \ltrch\fcs0 S\'e3o Paulo, 14 de agosto de 2024.\par }
}
"""

ROWDEF = r"""\trowd \irow%d\irowband%d\ltrrow\ts11\trgaph108\trleft-108\trbrdrt\brdrs\brdrw10 \trbrdrl\brdrs\brdrw10 \trbrdrb\brdrs\brdrw10 \trbrdrr\brdrs\brdrw10 \trbrdrh\brdrs\brdrw10 \trbrdrv\brdrs\brdrw10 \trftsWidth1\trftsWidthB3\trftsWidthA3\trautofit1\trpaddl108\trpaddr108\trpaddfl3\trpaddft3\trpaddfb3\trpaddfr3\tblrsid1234567\tbllkhdrrows\tbllklastrow\tbllkhdrcols\tbllklastcol\tblind0\tblindtype3 """
CELLS = [(3402, r"\clvertalc"), (4820, r"\clvertalc"), (9072, r"\clvertalt")]

def rowdef(i, shaded):
    out = ROWDEF % (i, i)
    for edge, valign in CELLS:
        out += valign + r"\clbrdrt\brdrs\brdrw10 \clbrdrl\brdrs\brdrw10 \clbrdrb\brdrs\brdrw10 \clbrdrr\brdrs\brdrw10 " + (r"\clcbpat3" if shaded else "") + r"\cltxlrtb\clftsWidth3\clwWidth%d\clshdrawnil \cellx%d" % (edge, edge)
    return out + "\n"

ROWS = [
    (r"{\b Pedido}", r"{\b Prazo}", r"{\b Observa\'e7\'e3o}"),
    ("Compensa\\'e7\\'e3o com d\\'e9bito pr\\'f3prio", "30 dias", "Contados da data do protocolo, prorrog\\'e1veis uma vez por igual per\\'edodo quando houver dilig\\'eancia."),
    ("Transfer\\'eancia a terceiros", "60 dias", "Exige parecer da unidade de fiscaliza\\'e7\\'e3o do domic\\'edlio do destinat\\'e1rio do cr\\'e9dito."),
    ("Quita\\'e7\\'e3o de d\\'edvida ativa", "90 dias", "Depende de manifesta\\'e7\\'e3o da procuradoria."),
]

def table():
    out = ""
    for i, row in enumerate(ROWS):
        out += rowdef(i, i == 0)
        out += r"\pard \ltrpar\ql \li0\ri0\widctlpar\intbl\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap1 {\rtlch\fcs1 \af0 \ltrch\fcs0 " + r"\cell ".join(row) + r"\cell }"
        out += r"\pard \ltrpar\ql \li0\ri0\sa200\sl276\slmult1\widctlpar\intbl\wrapdefault\aspalpha\aspnum\faauto\adjustright\rin0\lin0 {\rtlch\fcs1 \af0 \ltrch\fcs0 " + rowdef(i, i == 0).rstrip() + r"\row }" + "\n"
    return out

def emf_stub():
    eof = struct.pack("<IIIII", 14, 20, 0, 16, 20)
    total = 88 + len(eof)
    header = struct.pack("<II4i4iIIIIHHIIIii ii".replace(" ", ""), 1, 88, 0, 0, 100, 50, 0, 0, 2540, 1270,
                         0x464D4520, 0x10000, total, 2, 1, 0, 0, 0, 0, 1024, 768, 320, 240)
    return header + eof
emf = emf_stub()
doc = W.replace("__TABLE__", table()).replace("__EMF__", hexlines(emf)).replace("__WMF__", hexlines(wmf_stub())).replace("__DIB__", hexlines(dib(16, 8)))
open("word_portaria_listas.rtf", "w", newline="\r\n").write(doc)

P = r"""{\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang1046{\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fnil\fcharset2 Symbol;}{\f2\fswiss\fcharset0 Arial;}}
{\colortbl ;\red0\green0\blue255;}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\qc\b\f2\fs24\lang1046 COMUNICADO N\'ba 12/2024\b0\par
\pard\sa200\sl276\slmult1\qj\fs20 A Secretaria informa aos contribuintes os procedimentos para a entrega da declara\'e7\'e3o anual de movimento econ\'f4mico, que ser\'e1 recebida exclusivamente pela internet.\par
\b Documentos necess\'e1rios:\b0\par
\pard{\pntext\f1\'B7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'B7}}\fi-360\li720\sa200\sl276\slmult1\qj o arquivo da declara\'e7\'e3o gerado pelo programa oficial, na vers\'e3o vigente na data da entrega, sem altera\'e7\'f5es manuais em seu conte\'fado;\par
{\pntext\f1\'B7\tab}o recibo de entrega da declara\'e7\'e3o do exerc\'edcio anterior, quando o contribuinte estiver obrigado a apresent\'e1-la;\par
{\pntext\f1\'B7\tab}a procura\'e7\'e3o do representante legal, com firma reconhecida, quando a entrega for feita por terceiro.\par
\pard\sa200\sl276\slmult1\qj\b Prazos:\b0\par
\pard{\pntext\f2 1.\tab}{\*\pn\pnlvlbody\pnf2\pnindent0\pnstart1\pndec{\pntxta.}}
\fi-360\li720\sa200\sl276\slmult1\qj contribuintes do regime normal de apura\'e7\'e3o: at\'e9 o \'faltimo dia \'fatil do m\'eas de mar\'e7o do ano seguinte ao de refer\'eancia;\par
{\pntext\f2 2.\tab}contribuintes do regime simplificado: at\'e9 o \'faltimo dia \'fatil do m\'eas de abril, observado o calend\'e1rio de cada munic\'edpio;\par
{\pntext\f2 3.\tab}contribuintes em in\'edcio de atividade: no prazo de sessenta dias contados da data da inscri\'e7\'e3o estadual.\par
\pard\sa200\sl276\slmult1\tx2835\tx5670\qj\b Faixa\tab Valor\tab Multa\b0\par
\pard\sa200\sl276\slmult1\tx2835\tx5670 Pequeno porte\tab at\'e9 R$ 360 mil\tab 50 UFE\par
M\'e9dio porte\tab at\'e9 R$ 4,8 milh\'f5es\tab 200 UFE\par
\pard\sa200\sl276\slmult1\qc{\pict{\*\picprop}\wmetafile8\picw2540\pich1270\picwgoal1440\pichgoal720 __WMF__}\par
\pard\sa200\sl276\slmult1\qj Informa\'e7\'f5es adicionais podem ser obtidas nos postos de atendimento ou pelo telefone da central de atendimento ao contribuinte.\par
}
"""
open("wordpad_comunicado.rtf", "w", newline="\r\n").write(P.replace("__WMF__", hexlines(wmf_stub())))
