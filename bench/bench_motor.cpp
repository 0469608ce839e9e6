// Report engine benchmark: records and renders pages of typical report
// content (about 150 boxes and texts a page) and prints the figures.
//
//   bench_motor [pages]     (default 400)
//
// Times are wall clock and, in brackets, the process's CPU time, which is
// less disturbed by other work on the machine. Runs on Qt's offscreen
// platform unless QT_QPA_PLATFORM says otherwise.

#include "engine/MotorRelatorio.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <malloc.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Medida {
    std::chrono::steady_clock::time_point parede = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();

    double Parede() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - parede).count();
    }
    double Cpu() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

long PicoMemoriaMb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss / 1024;
}

// One element of a page, as a report lays it out.
struct Elemento {
    enum Tipo { Barra, Caixa, Texto, Multilinha, Imagem } tipo;
    double x, y, w, h;
    std::string texto;
    int horizontal = 0;
    int vertical = 0;
    double tamanho = 8;
    bool negrito = false;
    int cor = 0;
};

constexpr double largura = 25.7; // landscape usable width
constexpr int teal = 0x808000;

std::string Valor(int pagina, int linha, int coluna) {
    const long centavos = (pagina * 7919L + linha * 131L + coluna * 17L) * 1234L % 100000000L;
    return std::to_string(centavos / 100) + "," + std::to_string(10 + centavos % 90);
}

// A landscape page laid out like the monthly reports: header, taxpayer block,
// column captions, nine rows of six cells and the footer.
std::vector<Elemento> Pagina(int pagina) {
    std::vector<Elemento> e;
    const auto texto = [&](double x, double y, double w, double h, std::string t, int hor, int ver,
                           double tam, bool neg, int cor) {
        e.push_back({Elemento::Texto, x, y, w, h, std::move(t), hor, ver, tam, neg, cor});
    };
    const auto caixa = [&](double x, double y, double w, double h) {
        e.push_back({Elemento::Caixa, x, y, w, h, {}, 0, 0, 0, false, 0});
    };
    const auto barra = [&](double y) {
        e.push_back({Elemento::Barra, 0, y, largura, 0.1, {}, 0, 0, 0, false, teal});
    };
    texto(0, 0, largura, 0.3, "Declaração do Vantiro", 0, 0, 8, false, 0);
    texto(0, 0, largura, 0.3, "ABCD-1234", 2, 0, 8, false, 0);
    barra(0.5);
    e.push_back({Elemento::Imagem, 0.1, 0.65, 1.74, 1.89, {}, 0, 0, 0, false, 0});
    texto(6, 0.85, 13.7, 0.7, "Governo do Estado de Ostrana", 1, 1, 14, true, 0xFF);
    texto(6, 1.65, 13.7, 0.7, "Secretaria de Estado dos Negócios da Quintara", 1, 1, 14, true,
          0xFF);
    barra(2.6);
    caixa(0, 2.9, largura, 0.7);
    e.push_back(
        {Elemento::Multilinha, 0.1, 2.9, largura - 0.2, 0.7, "Entradas", 1, 1, 14, true, teal});
    caixa(0, 3.6, largura, 0.6);
    texto(0.1, 3.6, largura - 0.2, 0.6, "Contribuinte", 0, 1, 12, true, teal);
    const char* rotulos[] = {"Razão Social", "Inscrição Estadual", "CNPJ",
                             "CNAE",         "Tipo da Declaração", "Exercício"};
    const char* valores[] = {"Comércio de Peças Ávila Ltda",
                             "123.456.789.110",
                             "12.345.678/0001-90",
                             "4530-7/03",
                             "Normal",
                             "2003"};
    for (int k = 0; k < 6; ++k) {
        const double x = k == 0 ? 0 : (k - 1) * largura / 5;
        const double y = k == 0 ? 4.2 : 4.8;
        const double w = k == 0 ? largura : largura / 5;
        caixa(x, y, w, 0.6);
        texto(x + 0.1, y + 0.05, w - 0.2, 0.5, rotulos[k], 0, 0, 6, true, 0);
        texto(x + 0.2, y, w - 0.4, 0.6, valores[k], 0, 2, 8, false, 0);
    }
    barra(5.6);
    const double coluna = largura / 6;
    const char* titulos[] = {"Referência\r\nMês",
                             "Valor\r\nContábil",
                             "Base de\r\nCálculo",
                             "Imposto\r\nCreditado",
                             "Isentas ou\r\nNão Tributadas",
                             "Outras"};
    for (int c = 0; c < 6; ++c) {
        caixa(c * coluna, 5.9, coluna, 0.8);
        e.push_back({Elemento::Multilinha, c * coluna + 0.1, 5.95, coluna - 0.2, 0.7, titulos[c], 1,
                     0, 6, true, 0});
    }
    for (int linha = 0; linha < 9; ++linha) {
        const double y = 6.7 + linha * 0.6;
        for (int c = 0; c < 6; ++c) {
            caixa(c * coluna, y, coluna, 0.6);
            texto(c * coluna + 0.1, y, coluna - 0.2, 0.6,
                  c == 0 ? "Janeiro" : Valor(pagina, linha, c), c == 0 ? 0 : 2, 1, 8, false, 0);
        }
    }
    barra(16.5);
    texto(0, 16.7, largura / 3, 0.3, "%%D", 0, 1, 6, false, 0);
    texto(largura / 3, 16.7, largura / 3, 0.3, "%%H", 1, 1, 6, false, 0);
    texto(2 * largura / 3, 16.7, largura / 3, 0.3, "Página %%p de %%P", 2, 1, 6, false, 0);
    return e;
}

void Documento(tarvo::MotorRelatorio& motor, const tarvo::Figura& brasao, int paginas) {
    motor.IniciarDocumento();
    motor.DefinirTitulo("Relatório de Entradas");
    motor.DefinirTituloResumido("Entradas");
    motor.DefinirOrientacao(1);
    motor.DefinirMargens(2.0, 2.0, 2.0, 2.0);
    for (int pagina = 1; pagina <= paginas; ++pagina) {
        if (pagina > 1) {
            motor.NovaPagina();
        }
        for (const Elemento& e : Pagina(pagina)) {
            switch (e.tipo) {
            case Elemento::Barra:
                motor.AdicionarRetangulo(e.x, e.y, e.w, e.h, -1, e.cor, e.cor, 1);
                break;
            case Elemento::Caixa:
                motor.AdicionarCaixa(e.x, e.y, e.w, e.h, 0, 0.1, 0, 0xFFFFFF, 1);
                break;
            case Elemento::Texto:
                motor.AdicionarTexto(e.x, e.y, e.w, e.h, e.texto, e.horizontal, e.vertical, "Arial",
                                     e.tamanho, e.negrito ? -1 : 0, 0, 0, e.cor);
                break;
            case Elemento::Multilinha:
                motor.AdicionarTextoMultilinha(e.x, e.y, e.w, e.h, e.texto, e.horizontal,
                                               e.vertical, "Arial", e.tamanho, e.negrito ? -1 : 0,
                                               0, 0, e.cor);
                break;
            case Elemento::Imagem:
                motor.AdicionarImagem(e.x, e.y, e.w, e.h, brasao, 0);
                break;
            }
        }
    }
}

QColor Cor(int c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// The same elements painted straight with QPainter, with the simplest calls
// that draw them: what Qt's PDF output costs by itself.
void SoQt(const QString& caminho, const QImage& brasao, int paginas) {
    QPdfWriter escritor(caminho);
    escritor.setResolution(1200);
    escritor.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&escritor);
    const double cm = 1200 / 2.54;
    std::map<std::pair<double, bool>, std::pair<QFont, QFontMetricsF>> fontes;
    const QPen contorno(Qt::black, 0.01 * cm);
    for (int pagina = 1; pagina <= paginas; ++pagina) {
        if (pagina > 1) {
            escritor.newPage();
        }
        for (const Elemento& e : Pagina(pagina)) {
            const QRectF r((2 + e.x) * cm, (2 + e.y) * cm, e.w * cm, e.h * cm);
            switch (e.tipo) {
            case Elemento::Barra:
                painter.fillRect(r, Cor(e.cor));
                break;
            case Elemento::Caixa:
                painter.fillRect(r, Qt::white);
                painter.setPen(contorno);
                painter.drawRect(r);
                break;
            case Elemento::Texto:
            case Elemento::Multilinha: {
                auto fonte = fontes.find({e.tamanho, e.negrito});
                if (fonte == fontes.end()) {
                    QFont f(QStringLiteral("Liberation Sans"));
                    f.setPointSizeF(e.tamanho);
                    f.setBold(e.negrito);
                    fonte = fontes
                                .emplace(std::pair{e.tamanho, e.negrito},
                                         std::pair{f, QFontMetricsF(f, &escritor)})
                                .first;
                }
                painter.setFont(fonte->second.first);
                painter.setPen(Cor(e.cor));
                const QString texto = QString::fromStdString(e.texto);
                if (e.tipo == Elemento::Multilinha) {
                    painter.drawText(r, Qt::AlignHCenter | Qt::TextWordWrap, texto);
                } else {
                    painter.drawText(QPointF(r.left(), r.top() + fonte->second.second.ascent()),
                                     texto);
                }
                break;
            }
            case Elemento::Imagem:
                painter.drawImage(r, brasao);
                break;
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    // The allocator thresholds of the command-line program.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication aplicacao(argc, argv);
    const int paginas = argc > 1 ? std::atoi(argv[1]) : 400;
    QImage imagemBrasao(66, 72, QImage::Format_Indexed8);
    imagemBrasao.setColorCount(2);
    imagemBrasao.setColor(0, qRgb(255, 255, 255));
    imagemBrasao.setColor(1, qRgb(0, 96, 160));
    imagemBrasao.fill(1);
    const tarvo::Figura brasao("imgBrasaoOstranaColorido", imagemBrasao);
    const size_t elementos = Pagina(1).size();
    QTemporaryDir pasta;

    std::printf("Report engine benchmark: %d pages of %zu elements\n", paginas, elementos);
    {
        // Warm-up: the font database and the PDF writer.
        tarvo::MotorRelatorio motor;
        Documento(motor, brasao, 2);
        motor.SalvarPdf(pasta.filePath("aquecimento.pdf").toStdString());
        SoQt(pasta.filePath("aquecimento-qt.pdf"), imagemBrasao, 2);
    }

    Medida medida;
    SoQt(pasta.filePath("qt.pdf"), imagemBrasao, paginas);
    const double qtParede = medida.Parede();
    const double qtCpu = medida.Cpu();
    std::printf("Qt alone:      %.3f s (cpu %.3f s) painting the same elements to PDF\n", qtParede,
                qtCpu);

    tarvo::MotorRelatorio motor;
    medida = Medida();
    Documento(motor, brasao, paginas);
    const double gravacao = medida.Parede();
    std::printf("record:        %.3f s (cpu %.3f s), %.2f us a call, %.0f bytes a page\n", gravacao,
                medida.Cpu(), gravacao * 1e6 / (paginas * elementos),
                static_cast<double>(motor.BytesDocumento()) / paginas);
    const Medida pdf;
    motor.SalvarPdf(pasta.filePath("motor.pdf").toStdString());
    std::printf("render to PDF: %.3f s (cpu %.3f s), %.0f pages/s\n", pdf.Parede(), pdf.Cpu(),
                paginas / pdf.Parede());
    std::printf("record + PDF:  %.3f s (cpu %.3f s), %+.0f%% over Qt alone (cpu)\n",
                medida.Parede(), medida.Cpu(), (medida.Cpu() / qtCpu - 1) * 100);
    std::printf("peak memory:   %ld MB\n", PicoMemoriaMb());

    const int grande = 3000;
    tarvo::MotorRelatorio previa;
    medida = Medida();
    Documento(previa, brasao, grande);
    const double gravacaoGrande = medida.Parede();
    medida = Medida();
    previa.ExibirDocumento();
    QApplication::processEvents();
    std::printf("preview:       %d pages recorded in %.3f s (%.0f bytes a page), first page "
                "shown in %.3f s (cpu %.3f s)\n",
                grande, gravacaoGrande, static_cast<double>(previa.BytesDocumento()) / grande,
                medida.Parede(), medida.Cpu());
    std::printf("peak memory:   %ld MB\n", PicoMemoriaMb());
    return 0;
}
