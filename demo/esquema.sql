-- The ten tables of a declaration database, as the reports read them.
-- Money columns hold integers, reals or decimal text; dates ISO-8601 text or
-- a Jet day number; booleans 0/any other integer or the texts True/False.
-- No uniqueness is enforced: the host owns the data, the reports only read it.

CREATE TABLE tblContribuinte (
    IE            TEXT,
    RazãoSocial   TEXT,
    CNPJ          TEXT,
    CNAE          TEXT,
    DataCadastro  DATE,
    Localização   TEXT,
    Número        TEXT,
    Complemento   TEXT,
    Bairro        TEXT,
    Município     TEXT,
    CEP           TEXT,
    UF            TEXT,
    Telefone      TEXT,
    FAX           TEXT,
    Email         TEXT,
    HomePage      TEXT,
    Contato       TEXT,
    Observação    TEXT
);

CREATE TABLE tblDeclaração (
    Declaração    INTEGER,
    IE            TEXT,
    Tipo          INTEGER,
    Exercício     INTEGER,
    Consistente   BOOLEAN,
    ChaveInterna  TEXT
);

CREATE TABLE tblReferência (
    Declaração    INTEGER,
    Ref           INTEGER,
    RegTrib       INTEGER
);

CREATE TABLE tblEntradas (
    Declaração     INTEGER,
    Ref            INTEGER,
    EntradaInterna MOEDA,
    EntradaInter   MOEDA,
    ImpAquisição   MOEDA
);

CREATE TABLE tblSaídas (
    Declaração        INTEGER,
    Ref               INTEGER,
    SaídaInterna      MOEDA,
    SaídaInter        MOEDA,
    SaídaInternaNtrib MOEDA,
    SaídaInterNtrib   MOEDA,
    TribIss           MOEDA,
    ImpDevido         MOEDA
);

CREATE TABLE tblDetalhesInterUFs (
    Declaração       INTEGER,
    Tipo             INTEGER,
    UF               INTEGER,
    ValorContábil_1  MOEDA,
    ValorContábil_2  MOEDA,
    BaseCálculo_1    MOEDA,
    BaseCálculo_2    MOEDA,
    Imposto          MOEDA,
    Outras           MOEDA,
    PetróleoEnergia  MOEDA,
    OutrosProdutos   MOEDA,
    ICMSCobradoST    MOEDA
);

CREATE TABLE tblEstados (
    Código  INTEGER,
    Estado  TEXT
);

CREATE TABLE tblDIPAM (
    Declaração  INTEGER,
    Município   INTEGER,
    CódDIPAM    TEXT,
    Valor       MOEDA
);

CREATE TABLE tblMunicípios (
    CódMunicípio  INTEGER,
    Município     TEXT
);

CREATE TABLE tblCódigosDIPAM (
    Código     TEXT,
    Cabeçalho  TEXT,
    Descrição  TEXT
);

CREATE INDEX idxDeclaracao ON tblDeclaração (Declaração);
CREATE INDEX idxReferencia ON tblReferência (Declaração, Ref);
CREATE INDEX idxEntradas ON tblEntradas (Declaração, Ref);
CREATE INDEX idxSaidas ON tblSaídas (Declaração, Ref);
CREATE INDEX idxDetalhes ON tblDetalhesInterUFs (Declaração, Tipo);
CREATE INDEX idxDipam ON tblDIPAM (Declaração);
CREATE INDEX idxMunicipios ON tblMunicípios (CódMunicípio);
CREATE INDEX idxCodigosDipam ON tblCódigosDIPAM (Código);
