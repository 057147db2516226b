#pragma once

#include <QPushButton>

namespace hw {

/// A push button whose caption breaks onto more lines when it is wider than
/// the button, as the Generate buttons need for "Generate Central Script".
class WrapButton : public QPushButton
{
    Q_OBJECT
public:
    explicit WrapButton(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace hw
