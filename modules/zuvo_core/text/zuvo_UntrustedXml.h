namespace zuvo
{

/** What a document from outside may hold. Documents of ours stay far below:
    a mapping file is three levels deep with a dozen names and eight
    attributes to an element. */
struct UntrustedXmlLimits
{
    /** Levels of nested elements, the root's included: the parser and
        everything that walks its tree recurse once per level. */
    int maxDepth = 16;

    /** Distinct element and attribute names: the framework keeps every name in
        one sorted pool, where each new name costs a move of the names after it. */
    int maxNames = 256;

    /** Attributes of one element: the framework's tree sets them one by one
        when it makes XML, each after a search of those already set. */
    int maxAttributesPerElement = 64;

    /** Quotes and ampersands in one attribute value: the parser reads each as
        a reference and copies the value once more for each. */
    int maxQuotesAndAmpersandsPerValue = 64;
};

/** Parses a document that comes from outside (a file the user chose, a
    server's answer) with the framework's parser, in time that grows with the
    document's length. Gives nullptr unless the text is a well-formed XML
    document of the plain kind that ours are, within the limits:
    - elements, attributes, text, comments, CDATA sections and an XML
      declaration; no document type declaration (the entities it declares
      would expand into elements that no limit sees) and no processing
      instruction (followed by text inside an element, it sends the parser
      into an endless loop);
    - the five predefined entities and character references, and no other
      reference ("&<" the parser takes for a reference to an unknown entity
      and parses as elements, reading past the end of that text);
    - no attribute whose name starts with "base64:", which the framework's
      tree turns into a block of bytes of whatever size the value declares.

    Characters that XML 1.0 cannot hold (invalid UTF-8, control characters,
    surrogates), also where a character reference names one, are read as
    U+FFFD, so that every text of the document can be written out and read
    back as it is.
*/
std::unique_ptr<juce::XmlElement> parseUntrustedXml (const juce::String& text, UntrustedXmlLimits limits = {});

} // namespace zuvo
