// Set-up of the graph window tests: the main window with figure8.ode compiled and its curves
// generated, the graph window beside it, and the user's hands on the picture.
#pragma once

#include "FormTestSupport.h"

#include "common/NumberText.h"
#include "graphics/forms/PaintBox.h"
#include "graphics/forms/TGraphForm.h"
#include "support/Paths.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

class GraphWindowTest : public ProblemWindowTest {
  protected:
    void SetUp() override {
        ProblemWindowTest::SetUp();
        graph = std::make_unique<TGraphForm>(windows, ui, state);
        windows.graph = graph.get();
    }
    void TearDown() override {
        windows.graph = nullptr;
        graph.reset();
        ProblemWindowTest::TearDown();
    }

    // Compiles figure8.ode, generates its three curves and opens the graph.
    void openFigureEight() {
        typeProblem(problemPath("figure8.ode"));
        form->setWindowTitle("figure8");
        form->Compile1->trigger();
        form->btXYZcurve->click();
        form->btGraph->click();
        ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    }

    // Types a bound as a user does, which offers Apply.
    void typeBound(QLineEdit* edit, const std::string& text) {
        edit->setText(QString::fromStdString(text));
        emit edit->textEdited(edit->text());
    }
    void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(graph->PaintBox1, &press);
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(at), graph->PaintBox1->mapToGlobal(QPointF(at)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QApplication::sendEvent(graph->PaintBox1, &event);
    }
    void clickPicture(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        mouse(QEvent::MouseMove, at, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, at, button);
        mouse(QEvent::MouseButtonRelease, at, button);
    }
    // The world point under a pixel, from the full bounds the edits hold in their hints.
    QPointF worldAt(QPoint at) const {
        auto bound = [](const QLineEdit* edit) {
            return static_cast<double>(parseNumber(edit->toolTip().toStdString()).value_or(0));
        };
        const double width = graph->PaintBox1->width(), height = graph->PaintBox1->height();
        return {
            at.x() * (bound(graph->edXmax) - bound(graph->edXmin)) / width + bound(graph->edXmin),
            bound(graph->edYmax) - at.y() * (bound(graph->edYmax) - bound(graph->edYmin)) / height};
    }

    std::unique_ptr<TGraphForm> graph;
};
