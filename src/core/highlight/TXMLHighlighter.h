#pragma once
// Highlighter for XML documents (also XSD, XSL, XSLT, DTD and WML): element
// names, attribute names and values, namespace declarations, entity
// references, text, comments, processing instructions, CDATA and DOCTYPE
// sections. Quoted values, comments, processing instructions, CDATA and
// DOCTYPE sections run over several lines. There is no keyword list.
#include <cstdint>

#include "core/highlight/TLanguageHighlighter.h"

namespace pelm {

class TXMLHighlighter : public TLanguageHighlighter {
public:
    enum TTokenKind : int {
        tkAposAttrValue = 0,     // value in single quotes
        tkAposEntityRef = 1,     // entity reference in a single-quoted value
        tkAttribute = 2,         // attribute name
        tkCDATA = 3,
        tkComment = 4,
        tkElement = 5,           // element name
        tkEntityRef = 6,         // entity reference in text
        tkEqual = 7,             // '=' and the opening quote after an attribute name
        tkNull = 8,              // end of line
        tkProcessingInstruction = 9,
        tkQuoteAttrValue = 10,   // value in double quotes
        tkQuoteEntityRef = 11,   // entity reference in a double-quoted value
        tkSpace = 12,
        tkSymbol = 13,
        tkText = 14,
        tknsAposAttrValue = 15,  // namespace value in single quotes
        tknsAposEntityRef = 16,
        tknsAttribute = 17,      // namespace attribute name (holds "xmlns")
        tknsEqual = 18,          // symbol after a namespace attribute name
        tknsQuoteAttrValue = 19, // namespace value in double quotes
        tknsQuoteEntityRef = 20,
        tkDocType = 21,
    };
    static constexpr int KindCount = 22;

    enum TRangeState : uint8_t {
        rsAposAttrValue = 0,     // inside '...'
        rsAPosEntityRef = 1,     // entity reference inside '...' (never survives the line)
        rsAttribute = 2,         // inside a tag, an attribute name expected
        rsCDATA = 3,
        rsComment = 4,
        rsElement = 5,           // after <, </, <! or /
        rsEntityRef = 6,         // entity reference in text (never survives the line)
        rsEqual = 7,             // after an attribute name
        rsProcessingInstruction = 8,
        rsQuoteAttrValue = 9,    // inside "..."
        rsQuoteEntityRef = 10,   // entity reference inside "..." (never survives the line)
        rsText = 11,             // the initial state
        rsnsAposAttrValue = 12,
        rsnsAPosEntityRef = 13,
        rsnsEqual = 14,
        rsnsQuoteAttrValue = 15,
        rsnsQuoteEntityRef = 16,
        rsDocType = 17,
        rsDocTypeSquareBraces = 18,  // inside the [ ] subset of a DOCTYPE section
    };

    // Rows of the attribute table, in creation order.
    enum TAttributeRow : int {
        atElement, atText, atSpace, atEntityRef, atProcessingInstruction, atCDATA, atComment, atDocType,
        atAttribute, atNamespaceAttribute, atAttributeValue, atNamespaceAttributeValue, atSymbol,
    };
    static const TLanguageSpec Language;
    static constexpr const char* BuiltInFilter =
        "XML Files (*.xml;*.xsd;*.xsl;*.xslt;*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd";

    TXMLHighlighter();

    THighlighterAttributes* ElementAttri() const { return Attribute(atElement); }
    THighlighterAttributes* TextAttri() const { return Attribute(atText); }
    THighlighterAttributes* SpaceAttri() const { return Attribute(atSpace); }
    THighlighterAttributes* EntityRefAttri() const { return Attribute(atEntityRef); }
    THighlighterAttributes* ProcessingInstructionAttri() const { return Attribute(atProcessingInstruction); }
    THighlighterAttributes* CDATAAttri() const { return Attribute(atCDATA); }
    THighlighterAttributes* CommentAttri() const { return Attribute(atComment); }
    THighlighterAttributes* DocTypeAttri() const { return Attribute(atDocType); }
    THighlighterAttributes* AttributeAttri() const { return Attribute(atAttribute); }
    THighlighterAttributes* NamespaceAttributeAttri() const { return Attribute(atNamespaceAttribute); }
    THighlighterAttributes* AttributeValueAttri() const { return Attribute(atAttributeValue); }
    THighlighterAttributes* NamespaceAttributeValueAttri() const { return Attribute(atNamespaceAttributeValue); }
    THighlighterAttributes* SymbolAttri() const { return Attribute(atSymbol); }

    // A published setting kept for the configuration; no scanning rule reads it.
    bool WantBracesParsed() const { return wantBracesParsed_; }
    void SetWantBracesParsed(bool value) { wantBracesParsed_ = value; }
    void ApplyMainWindowColours() override;

    void ResetState() override { state_ = rsText; }
    void SetState(uint32_t state) override { state_ = static_cast<uint8_t>(state & 0xFF); }
    uint32_t GetState() const override { return state_; }
    void NextToken() override;

private:
    void tableProc();
    void openProc();
    void commentProc();
    void processingInstructionProc();
    void cdataProc();
    void docTypeProc();
    void textProc();
    void nameProc();
    void afterAttributeNameProc(bool ns);
    void quotedValueProc(unsigned char quote, int kind, uint8_t entityState);
    void entityRefProc(int kind, uint8_t returnState);

    uint8_t state_ = rsText;
    bool wantBracesParsed_ = true;
};

}  // namespace pelm
