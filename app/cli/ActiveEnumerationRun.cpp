#include "ActiveEnumerationRun.h"

#include "catalogue/ActiveFontsThreadExUnit.h"
#include "catalogue/FontEnumBatches.h"
#include "catalogue/GlobalFontManagerUnit.h"

#include <QEventLoop>
#include <QTextStream>

namespace cli {

bool RunToEnd(catalogue::TBaseFontsThreadEx& thread, QStringList& errors)
{
    QEventLoop loop;
    bool completed = false;
    thread.SetFreeOnTerminate(false);
    thread.OnError = [&](const QString& text, catalogue::TBaseFontsThreadEx&) { errors << text; };
    thread.OnFinished = [&](catalogue::TBaseFontsThreadEx&, bool done) {
        completed = done;
        loop.quit();
    };
    thread.Resume();
    loop.exec();
    thread.wait();
    return completed;
}

TActiveFontsCatalogue::TActiveFontsCatalogue()
{
    catalogue::TGlobalFontManager::Instance().SetActiveIndex(&FFamilies);
}

TActiveFontsCatalogue::~TActiveFontsCatalogue()
{
    catalogue::TGlobalFontManager::Instance().SetActiveIndex(nullptr);
}

bool TActiveFontsCatalogue::Enumerate()
{
    using catalogue::TBaseFontsThreadEx;
    using catalogue::TFontItems;
    catalogue::TActiveCatalogueBatches batches(FFamilies);
    catalogue::TActiveEnumerationState state;
    catalogue::TActiveFontsThreadEx thread(state);
    thread.OnRemoved = [&](TFontItems& items, bool&, TBaseFontsThreadEx&) { batches.ApplyRemoved(items); };
    thread.OnAdded = [&](TFontItems& items, bool&, TBaseFontsThreadEx&) { batches.ApplyAdded(items); };
    thread.OnChanged = [&](TFontItems& items, bool&, TBaseFontsThreadEx&) { batches.ApplyChanged(items); };
    QStringList errors;
    const bool completed = RunToEnd(thread, errors);
    for (const QString& error : errors)
        QTextStream(stderr) << "An error occurred while retrieving active fonts: " << error << '\n';
    return completed && errors.isEmpty();
}

} // namespace cli
