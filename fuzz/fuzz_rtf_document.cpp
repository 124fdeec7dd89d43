// The RTF reader into a text document (the editors' rich text).
#include "FuzzInput.h"

#include "richtext/RtfDocumentReader.h"

#include <QGuiApplication>
#include <QTextDocument>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Fonts and formats need a GUI application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QTextDocument document;
    readRtfDocument(fuzzInput(data, size), document);
    return 0;
}
