#pragma once

// Splits bytes into lines the way the text-file reader does, in plain C++ so
// that tools built without Windows read files as the setup does. Line ends
// count in pairs: CR LF, LF CR, or a lone CR or LF before other text end one
// line; a doubled CR CR or LF LF ends one more, empty line. A line that fills
// the buffer (its size less one) is cut there and goes on as the next line.
// The sink is called as sink(pLine, cchLine) with the line zero-terminated.
// The reader's line buffer: lines of more bytes than this less one are cut.
constexpr int TX_TEXT_LINE_BUFFER_SIZE = 65536;

template <typename Sink> class TxLineSplitter
{
public:
    TxLineSplitter(char* pBuffer, int cchBuffer, Sink& sink)
        : m_pLine(pBuffer), m_cchBuffer(cchBuffer), m_Sink(sink)
    {
    }

    void Put(int ch)
    {
        if (ch == '\r' || ch == '\n')
        {
            if (++m_iEnds == 2)
            {
                Emit();
                m_iEnds = 0;
                if (m_chPrev == ch)
                    Emit();
            }
        }
        else
        {
            if (m_iEnds > 0)
            {
                Emit();
                m_iEnds = 0;
            }
            m_pLine[m_iLength++] = static_cast<char>(ch);
            if (m_iLength + 1 >= m_cchBuffer)
                Emit();
        }
        m_chPrev = ch;
    }

    // A last line without its end.
    void Finish()
    {
        if (m_iLength > 0)
            Emit();
    }

private:
    void Emit()
    {
        m_pLine[m_iLength] = 0;
        m_Sink(m_pLine, m_iLength);
        m_iLength = 0;
    }

    char* m_pLine;
    int m_cchBuffer;
    Sink& m_Sink;
    int m_iLength = 0;
    int m_iEnds = 0;
    int m_chPrev = 0;
};
