#include "window_helpers/calculo_de_fondo.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace tev {

QString fallo_de_bandas(const QString& razon)
{
    return QString::fromUtf8("No se pudieron calcular las bandas: ") + razon;
}

struct CalculoDeFondo::Tarea {
    ControlCalculo control;
    int total = 0;
    QThread* hilo = nullptr;
    std::function<void()> al_terminar;
};

CalculoDeFondo::CalculoDeFondo(QWidget* padre) : QWidget(padre)
{
    setObjectName("calculo_de_fondo");
    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(4, 4, 4, 4);
    barra = new QProgressBar(this);
    barra->setObjectName("progreso_bar");
    barra->setFormat(QString::fromUtf8("Incertidumbre: %p %"));
    cancelar_btn = new QPushButton(QString::fromUtf8("Cancelar"), this);
    cancelar_btn->setObjectName("cancelar_calculo_btn");
    // Never takes the keyboard from what the user is typing in.
    cancelar_btn->setFocusPolicy(Qt::NoFocus);
    fallo_lbl = new QLabel(this);
    fallo_lbl->setObjectName("fallo_calculo_lbl");
    fallo_lbl->setWordWrap(true);
    fallo_lbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fallo_lbl->setAutoFillBackground(true);
    fallo_lbl->hide();
    fila->addWidget(barra, 1);
    fila->addWidget(cancelar_btn);
    fila->addWidget(fallo_lbl, 1);
    connect(cancelar_btn, &QPushButton::clicked, this, [this] {
        cancela();
        emit cancelado();
    });
    reloj_ = new QTimer(this);
    reloj_->setObjectName("reloj_del_progreso");
    reloj_->setInterval(50);
    connect(reloj_, &QTimer::timeout, this, &CalculoDeFondo::sigue_el_progreso);
    padre->installEventFilter(this);
    se_coloca();
    hide();
}

CalculoDeFondo::~CalculoDeFondo()
{
    for (const auto& t : en_marcha_)
        t->control.cancelar = true;
    for (const auto& t : en_marcha_) {
        t->hilo->wait();
        delete t->hilo;
    }
}

void CalculoDeFondo::lanza(int total, std::function<void(ControlCalculo&)> trabajo,
                           std::function<void()> al_terminar)
{
    if (actual_) actual_->control.cancelar = true;
    auto t = std::make_shared<Tarea>();
    t->total = std::max(1, total);
    t->al_terminar = std::move(al_terminar);
    ControlCalculo* control = &t->control;
    t->hilo = QThread::create([trabajo = std::move(trabajo), control] { trabajo(*control); });
    connect(t->hilo, &QThread::finished, this, [this, t] { termina(t); });
    actual_ = t;
    en_marcha_.push_back(t);
    barra->setRange(0, t->total);
    barra->setValue(0);
    muestra_barra(true);
    se_coloca(); // the bar's height, not that of a message shown before
    show();
    raise();
    reloj_->start();
    t->hilo->start();
}

void CalculoDeFondo::cancela()
{
    // A message of a computation that ended goes too.
    hide();
    if (!actual_) return;
    actual_->control.cancelar = true;
    actual_.reset();
    reloj_->stop();
}

void CalculoDeFondo::muestra_fallo(const QString& mensaje)
{
    fallo_lbl->setText(mensaje);
    muestra_barra(false);
    show();
    raise();
    se_coloca();
}

void CalculoDeFondo::muestra_barra(bool si)
{
    barra->setVisible(si);
    cancelar_btn->setVisible(si);
    fallo_lbl->setVisible(!si);
}

void CalculoDeFondo::termina(const std::shared_ptr<Tarea>& t)
{
    en_marcha_.erase(std::remove(en_marcha_.begin(), en_marcha_.end(), t), en_marcha_.end());
    t->hilo->deleteLater();
    if (t != actual_ || t->control.cancelar) return;
    actual_.reset();
    reloj_->stop();
    hide();
    t->al_terminar();
}

bool CalculoDeFondo::eventFilter(QObject* objeto, QEvent* e)
{
    if (objeto == parent() && e->type() == QEvent::Resize) se_coloca();
    return QWidget::eventFilter(objeto, e);
}

void CalculoDeFondo::se_coloca()
{
    const QWidget* padre = parentWidget();
    // A message wraps to the parent's width.
    const int ajustado = fallo_lbl->isVisibleTo(this) ? heightForWidth(padre->width()) : -1;
    const int alto = ajustado > 0 ? ajustado : sizeHint().height();
    setGeometry(0, padre->height() - alto, padre->width(), alto);
}

void CalculoDeFondo::sigue_el_progreso()
{
    if (actual_) barra->setValue(std::min(actual_->control.hechas.load(), actual_->total));
}

} // namespace tev
