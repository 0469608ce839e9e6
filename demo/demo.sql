-- A realistic demo declaration: taxpayer 110.042.490.114, declaration 1 for 2003.
BEGIN;

INSERT INTO tblContribuinte VALUES (
  '110.042.490.114', 'Distribuidora de Alimentos São Tomé Ltda', '04.256.781/0001-36', '4639-7/01',
  '1998-06-15', 'Avenida Brigadeiro Faria Lima', '1.245', 'Galpão 3, Conjunto B', 'Jardim Paulistano',
  'São José dos Campos', '12227-000', 'OS', '(12) 3941-5520', '(12) 3941-5521',
  'fiscal@saotome.com.br', 'www.saotome.com.br', 'Márcia Conceição Araújo',
  'Empresa optante do regime especial a partir de março.' || char(13) || char(10) ||
  'Filial de Jacareí encerrada em 2002; estoque transferido para a matriz.' || char(13) || char(10) ||
  'Contato preferencial por e-mail, às terças e quintas.');

INSERT INTO tblDeclaração VALUES (1, '110.042.490.114', 1, 2003, 1, '7F3A-29C4-B81E-0D55');

-- Months: ME in the first quarter, EPP-A until August, EPP-B afterwards; no
-- movement declared in October.
INSERT INTO tblReferência VALUES
  (1, 1, 0), (1, 2, 0), (1, 3, 0), (1, 4, 1), (1, 5, 1), (1, 6, 1), (1, 7, 1), (1, 8, 1),
  (1, 9, 2), (1, 11, 2), (1, 12, 2);

INSERT INTO tblEntradas VALUES
  (1, 1, 48210.35, 12034.90, 842.44),
  (1, 2, 51377.00, 9870.15, 690.91),
  (1, 3, 49985.72, 14502.33, 1015.16),
  (1, 4, 62140.18, 18230.00, 1276.10),
  (1, 5, 58763.45, 16555.80, 1158.91),
  (1, 6, 61022.90, 20117.64, 1408.23),
  (1, 7, 70310.11, 22480.05, 1573.60),
  (1, 8, 68455.27, 19874.36, 1391.21),
  (1, 9, 75120.00, 25310.77, 1771.75),
  (1, 11, 81234.56, 27890.12, 1952.31),
  (1, 12, 94567.89, 31245.67, 2187.20);

INSERT INTO tblSaídas VALUES
  (1, 1, 62310.40, 15420.10, 3210.00, 1250.50, 870.00, 1245.30),
  (1, 2, 65880.15, 14210.75, 2980.40, 980.00, 910.25, 1203.18),
  (1, 3, 66120.00, 17850.33, 3305.10, 1410.75, 1020.00, 1398.40),
  (1, 4, 80412.27, 23510.90, 4120.00, 1630.20, 1150.80, 4155.62),
  (1, 5, 77230.05, 21870.45, 3870.35, 1502.10, 1098.00, 3890.27),
  (1, 6, 79855.60, 25330.12, 4015.70, 1720.00, 1210.45, 4201.75),
  (1, 7, 91240.33, 28710.80, 4580.00, 1890.30, 1305.60, 4777.01),
  (1, 8, 88760.19, 26540.07, 4410.25, 1800.00, 1270.10, 4592.88),
  (1, 9, 97310.00, 32150.44, 4980.60, 2015.35, 1420.00, 9741.56),
  (1, 11, 105420.78, 35880.91, 5320.00, 2230.40, 1515.75, 10620.34),
  (1, 12, 128730.55, 41230.18, 6410.90, 2610.15, 1780.00, 12990.47);

INSERT INTO tblEstados VALUES
  (11, 'Rondônia'), (12, 'Acre'), (13, 'Amazonas'), (15, 'Pará'), (21, 'Maranhão'),
  (23, 'Ceará'), (25, 'Paraíba'), (26, 'Pernambuco'), (29, 'Bahia'), (31, 'Minas Gerais'),
  (32, 'Espírito Santo'), (33, 'Rio de Janeiro'), (41, 'Paraná'), (42, 'Santa Catarina'),
  (43, 'Rio Grande do Sul'), (50, 'Mato Grosso do Sul'), (51, 'Mato Grosso'), (52, 'Goiás'),
  (53, 'Distrito Federal');

-- Interstate entries (Tipo 0) and exits (Tipo 1); some states appear in
-- several rows, which the reports sum.
INSERT INTO tblDetalhesInterUFs
  (Declaração, Tipo, UF, ValorContábil_1, ValorContábil_2, BaseCálculo_1, BaseCálculo_2,
   Imposto, Outras, PetróleoEnergia, OutrosProdutos, ICMSCobradoST) VALUES
  (1, 0, 31, 45210.30, NULL, 41000.00, NULL, 4920.00, 4210.30, 1250.00, 830.45, NULL),
  (1, 0, 31, 12004.70, NULL, 11500.00, NULL, 1380.00, 504.70, 0, 120.00, NULL),
  (1, 0, 33, 38450.00, NULL, 36000.00, NULL, 4320.00, 2450.00, 980.10, 610.00, NULL),
  (1, 0, 41, 29870.55, NULL, 28000.00, NULL, 3360.00, 1870.55, 0, 455.30, NULL),
  (1, 0, 42, 18230.10, NULL, 17500.00, NULL, 2100.00, 730.10, 0, 0, NULL),
  (1, 0, 43, 21455.80, NULL, 20000.00, NULL, 2400.00, 1455.80, 310.00, 215.75, NULL),
  (1, 0, 29, 9870.25, NULL, 9000.00, NULL, 630.00, 870.25, 0, 98.40, NULL),
  (1, 0, 26, 7420.00, NULL, 7000.00, NULL, 490.00, 420.00, 0, 0, NULL),
  (1, 0, 25, 5310.60, NULL, 5000.00, NULL, 350.00, 310.60, 0, 45.00, NULL),
  (1, 0, 52, 16780.45, NULL, 15500.00, NULL, 1085.00, 1280.45, 540.00, 0, NULL),
  (1, 0, 53, 4120.00, NULL, 4000.00, NULL, 280.00, 120.00, 0, 0, NULL),
  (1, 0, 23, 6890.90, NULL, 6500.00, NULL, 455.00, 390.90, 0, 72.10, NULL),
  (1, 0, 32, 11240.35, NULL, 10800.00, NULL, 1296.00, 440.35, 0, 160.00, NULL),
  (1, 1, 31, 52300.00, 8120.40, 50000.00, 7800.00, 7050.00, 2420.40, NULL, NULL, 1320.00),
  (1, 1, 33, 47120.85, 6540.00, 45000.00, 6300.00, 6156.00, 2360.85, NULL, NULL, 980.55),
  (1, 1, 41, 31870.20, 2980.10, 30500.00, 2900.00, 4008.00, 1450.30, NULL, NULL, 410.00),
  (1, 1, 41, 4210.00, 0, 4000.00, 0, 480.00, 210.00, NULL, NULL, 0),
  (1, 1, 42, 22340.75, 1870.00, 21500.00, 1800.00, 2796.00, 910.75, NULL, NULL, 0),
  (1, 1, 43, 26110.40, 3420.90, 25000.00, 3300.00, 3396.00, 1231.30, NULL, NULL, 275.90),
  (1, 1, 29, 12450.00, 1980.35, 12000.00, 1900.00, 1078.00, 530.35, NULL, NULL, 0),
  (1, 1, 26, 8930.60, 1210.00, 8500.00, 1150.00, 773.50, 490.60, NULL, NULL, 0),
  (1, 1, 25, 6120.15, 890.40, 5800.00, 850.00, 525.50, 360.55, NULL, NULL, 0),
  (1, 1, 15, 5480.00, 640.00, 5200.00, 600.00, 470.00, 320.00, NULL, NULL, 0),
  (1, 1, 13, 9870.30, 1120.75, 9400.00, 1080.00, 841.60, 511.05, NULL, NULL, 150.00),
  (1, 1, 52, 14320.90, 2240.10, 13800.00, 2150.00, 1116.50, 611.00, NULL, NULL, 0),
  (1, 1, 53, 7650.00, 3120.45, 7300.00, 3000.00, 721.00, 470.45, NULL, NULL, 0),
  (1, 1, 50, 4980.25, 760.00, 4750.00, 720.00, 383.00, 270.25, NULL, NULL, 0);

INSERT INTO tblMunicípios VALUES
  (3549904, 'São José dos Campos'), (3524402, 'Jacareí'), (3554102, 'Taubaté'),
  (3543402, 'Ribeirão Preto'), (3501103, 'Álvares Machado'), (3525904, 'Jundiaí'),
  (3529005, 'Marília'), (3518701, 'Guarujá'), (3509502, 'Campinas'), (3552205, 'Sorocaba'),
  (3538709, 'Piracicaba'), (3506003, 'Bauru'), (3520509, 'Indaiatuba'), (3541406, 'Presidente Prudente'),
  (3513801, 'Diadema'), (3548708, 'São Bernardo do Campo'), (3505708, 'Barueri'),
  (3534401, 'Osasco'), (3547809, 'Santo André'), (3530607, 'Mogi das Cruzes');

INSERT INTO tblCódigosDIPAM VALUES
  ('1.1', 'Compras escrituradas de mercadorias de produtores agropecuários, por município de origem.', 'Compras de produtores agropecuários'),
  ('1.2', 'Compras escrituradas de mercadorias de produtores agropecuários, por município de origem.', 'Compras não escrituradas de produtores agropecuários'),
  ('1.3', 'Compras escrituradas de mercadorias de produtores agropecuários, por município de origem.', 'Recebimentos por cooperativas de produtores'),
  ('2.2', 'Prestações de serviços de transporte e de comunicação, por município de início da prestação.', 'Serviços de transporte intermunicipal e interestadual'),
  ('2.3', 'Prestações de serviços de transporte e de comunicação, por município de início da prestação.', 'Serviços de comunicação'),
  ('3.1', 'Demais operações e prestações que geram valor adicionado a outros municípios.', 'Distribuição de energia elétrica a consumidores de outros municípios, conforme o rateio informado pela concessionária'),
  ('3.2', 'Demais operações e prestações que geram valor adicionado a outros municípios.', 'Fornecimento de água natural canalizada'),
  ('3.3', 'Demais operações e prestações que geram valor adicionado a outros municípios.', 'Vendas efetuadas por revendedores ambulantes autônomos'),
  ('3.4', 'Demais operações e prestações que geram valor adicionado a outros municípios.', 'Refeições preparadas fora do município do estabelecimento');

-- DIPAM values: group 1 over every municipality, group 2 over a few, group 3 as blocks.
INSERT INTO tblDIPAM (Declaração, Município, CódDIPAM, Valor)
  SELECT 1, CódMunicípio, '1.1', round(1500 + (CódMunicípio % 9731) * 3.17, 2) FROM tblMunicípios;
INSERT INTO tblDIPAM (Declaração, Município, CódDIPAM, Valor)
  SELECT 1, CódMunicípio, '1.2', round(420 + (CódMunicípio % 5113) * 1.29, 2)
  FROM tblMunicípios WHERE CódMunicípio % 3 <> 0;
INSERT INTO tblDIPAM (Declaração, Município, CódDIPAM, Valor)
  SELECT 1, CódMunicípio, '1.3', round(980 + (CódMunicípio % 2029) * 2.41, 2)
  FROM tblMunicípios WHERE CódMunicípio % 2 = 0;
INSERT INTO tblDIPAM (Declaração, Município, CódDIPAM, Valor) VALUES
  (1, 3549904, '2.2', 18420.75), (1, 3524402, '2.2', 6210.30), (1, 3554102, '2.3', 2890.00),
  (1, 3509502, '2.2', 9875.45), (1, 3509502, '2.3', 1420.10), (1, 3543402, '2.2', 4310.00);
INSERT INTO tblDIPAM (Declaração, Município, CódDIPAM, Valor) VALUES
  (1, 3549904, '3.1', 25310.40), (1, 3549904, '3.2', 4120.00), (1, 3549904, '3.3', 8740.55),
  (1, 3549904, '3.4', 2315.90), (1, 3524402, '3.1', 6120.00), (1, 3554102, '3.3', 1980.25),
  (1, 3509502, '3.4', 745.60), (1, 3543402, '3.2', 1530.00), (1, 3525904, '3.1', 3310.75);

COMMIT;
