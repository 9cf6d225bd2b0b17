// The small mark-up language of mini articles, captions, instruction pages and the About pages:
// words, the tags B, STRONG, TITLE, HEAD (bold), I, EM (italic), U (underline), RED and their
// closing forms, the paragraph tags P and /P, and the entities &copy; &reg; and &#n;.
//
// The tokenizer cuts a text into words that keep their trailing break character, tags and
// entities; the parser turns the tokens into a table of text runs, one run for each word, with
// the style events of the tags before it. Malformed mark-up is never an error: an unknown tag is
// shown as text, an unknown entity disappears, a tag with a blank in it is shown as words.
#pragma once

#include <afxwin.h>

#include <vector>

// Style events of the tags (a run's style, switched-on and switched-off words).
#define MINIART_UNDERLINE_OFF 0x0100
#define MINIART_BOLD_ON 0x0200
#define MINIART_BOLD_OFF 0x0400
#define MINIART_ITALIC_ON 0x0800
#define MINIART_ITALIC_OFF 0x1000
#define MINIART_RED_ON 0x2000
#define MINIART_RED_OFF 0x4000
#define MINIART_UNDERLINE_ON 0x8000

// What stands in force for a run once every tag before it has been taken into account.
#define MINIART_STATE_BOLD 0x01
#define MINIART_STATE_ITALIC 0x02
#define MINIART_STATE_UNDERLINE 0x04
#define MINIART_STATE_RED 0x08

// How a run ends: it continues the line, the line ends after it, the paragraph ends after it.
#define MINIART_BREAK_NONE 0
#define MINIART_BREAK_LINE 1
#define MINIART_BREAK_PARAGRAPH 2

struct MINIART_RUN {
    // The run's word: its index in the word list.
    int nWord = 0;
    // The word's cell in client pixels (set by the layout).
    CRect rectCell{0, 0, 0, 0};
    BYTE nBreak = MINIART_BREAK_NONE;
    // The selection id when the run was last selected, else 0.
    DWORD dwSelection = 0;
    // The events of the nearest group of tags before the run (repeated by the runs after it
    // until the next tag), and the opening and closing tags of a group that stands right before it.
    DWORD dwStyle = 0;
    DWORD dwSwitchedOn = 0;
    DWORD dwSwitchedOff = 0;
    // MINIART_STATE_ bits: every tag before the run, opened and not closed again.
    DWORD dwState = 0;
};

// Cuts a text into tokens from a read position of its own.
class CMiniArtTokenizer {
public:
    explicit CMiniArtTokenizer(const CString& strText);
    // The next token and the read position after it; an empty token at the end of the text.
    // A word keeps its break character (blank, ";", ":", "!", "?", line feed, ")"), and a ")"
    // right after a break character stays with the word before it. A tag ("<...>") or entity
    // ("&...;") comes as a token of its own, and so does "|", which also ends the word before it.
    CString NextToken();
    int GetPosition() const { return m_nPos; }

private:
    CString m_strText;
    int m_nPos = 0;
};

// The style event of a tag name (upper case, "/" first for a closing tag); 0 for none.
DWORD MiniArtTagEvent(const CString& strName);
// The font and colour state after a run's events are applied to the state before it: closing
// events first, then opening ones.
DWORD MiniArtApplyEvents(DWORD dwState, DWORD dwEvents);

// Builds the run table and the word list (both emptied first) from a marked-up text.
void ParseMiniArtMarkup(const CString& strText, std::vector<MINIART_RUN>& runs, std::vector<CString>& words);
