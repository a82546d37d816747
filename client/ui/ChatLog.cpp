#include "client/ui/ChatLog.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextImageFormat>
#include <algorithm>

#include "platform/gui/Desktop.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

QTextCharFormat runFormat(QColor colour, bool bold)
{
    static const QFont kChatFont = pointFont("Verdana", 8.25);
    QTextCharFormat format;
    format.setFont(kChatFont);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setForeground(colour);
    return format;
}

// Adds the picture to the document the first time the document shows it.
QTextImageFormat pictureFormat(QTextDocument& document, const ChatPictureTable& table, int entry)
{
    const QUrl name = ChatPictureTable::resourceName(entry);
    const QImage& image = table.image(entry);
    if (!document.resource(QTextDocument::ImageResource, name).isValid())
        document.addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(image.width());
    format.setHeight(image.height());
    format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    return format;
}

void appendMessage(QTextCursor& end, const ChatPictures& pictures, std::string_view message,
                   const QTextCharFormat& format)
{
    QTextDocument& document = *end.document();
    for (const ChatRun& run : chatRuns(message, pictures.shown)) {
        if (run.isPicture() && !pictures.table.image(run.picture).isNull())
            end.insertImage(pictureFormat(document, pictures.table, run.picture));
        else
            end.insertText(toQString(run.text), format);
    }
}

// Once the document holds more than the limit, drops whole lines from the
// top until it holds at most kChatLogKept; returns how many characters went.
// A cut at the top lays the whole document out again, so it is made for a
// few hundred lines at once rather than for every line.
int trimOldestLines(QTextDocument& document)
{
    if (document.characterCount() - 1 <= kChatLogLimit)
        return 0;
    const int excess = document.characterCount() - 1 - kChatLogKept;
    QTextBlock keep = document.begin();
    while (keep.isValid() && keep.position() < excess)
        keep = keep.next();
    // A single line longer than the limit loses its beginning instead.
    const int removed = keep.isValid() ? keep.position() : excess;
    QTextCursor top(&document);
    top.setPosition(removed, QTextCursor::KeepAnchor);
    top.removeSelectedText();
    return removed;
}

} // namespace

ChatPictureTable::ChatPictureTable(const std::string& programDirectory)
{
    const QString directory = toQString(programDirectory);
    const auto& tokens = chatPictureTokens();
    for (std::size_t i = 0; i < tokens.size(); ++i)
        images_[i] = QImage(directory + u'/' + toQString(tokens[i].file));
}

QUrl ChatPictureTable::resourceName(int entry)
{
    const ChatPictureToken& token = chatPictureTokens().at(static_cast<std::size_t>(entry));
    return QUrl(QStringLiteral("chatpicture:") + toQString(token.file));
}

void AppendChatLine(QTextEdit& log, const ChatPictures& pictures, std::string_view sender, std::string_view message,
                    QColor senderColour, QColor textColour, bool textBold)
{
    QTextDocument& document = *log.document();
    // A log is never undone; an undo stack would keep every line ever shown.
    if (document.isUndoRedoEnabled())
        document.setUndoRedoEnabled(false);
    const bool updates = log.updatesEnabled();
    log.setUpdatesEnabled(false);
    const QTextCursor user = log.textCursor();
    const int userAnchor = user.anchor();
    const int userPosition = user.position();

    QTextCursor end(&document);
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    const bool empty = document.isEmpty();
    if (!empty)
        end.insertBlock();
    if (!sender.empty())
        end.insertText(toQString(sender), runFormat(senderColour, true));
    appendMessage(end, pictures, message, runFormat(textColour, textBold));
    end.endEditBlock();
    const int removed = trimOldestLines(document);

    if (userAnchor != userPosition) {
        QTextCursor kept(&document);
        kept.setPosition(std::max(userAnchor - removed, 0));
        kept.setPosition(std::max(userPosition - removed, 0), QTextCursor::KeepAnchor);
        log.setTextCursor(kept);
    }
    log.setUpdatesEnabled(updates);
    QScrollBar* bar = log.verticalScrollBar();
    bar->setValue(bar->maximum());
}

} // namespace tessaly
