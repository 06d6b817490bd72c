#include "script/script_line.h"

namespace zelkor::script {

[[nodiscard]] std::expected<std::vector<Token>, QString> split_line(const QString& line)
{
    std::vector<Token> tokens;
    qsizetype at = 0;
    const qsizetype end = line.size();
    while (at < end) {
        while (at < end && line[at].isSpace())
            ++at;
        if (at == end || line[at] == u'#')
            break;
        Token token;
        if (line[at] == u'"') {
            token.quoted = true;
            ++at;
            bool closed = false;
            while (at < end) {
                const QChar c = line[at++];
                if (c == u'"') {
                    closed = true;
                    break;
                }
                if (c == u'\\' && at < end && (line[at] == u'"' || line[at] == u'\\'))
                    token.text += line[at++];
                else
                    token.text += c;
            }
            if (!closed)
                return std::unexpected(QStringLiteral("unclosed quote"));
        } else {
            while (at < end && !line[at].isSpace())
                token.text += line[at++];
        }
        tokens.push_back(token);
    }
    return tokens;
}

} // namespace zelkor::script
