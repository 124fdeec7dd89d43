#pragma once

#include <QSplitter>

// A splitter whose first widget keeps its size along the splitter (a side pane's width,
// a top pane's height) when the window is resized: only the user's drag of the handle
// changes it. The size is kept while the first widget is hidden as well.
class PaneSplitter : public QSplitter
{
    Q_OBJECT

public:
    explicit PaneSplitter(Qt::Orientation orientation, QWidget *parent = nullptr);

    int paneSize() const { return m_paneSize; }
    void setPaneSize(int size);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeHandle();

    int m_paneSize = 200;
};
