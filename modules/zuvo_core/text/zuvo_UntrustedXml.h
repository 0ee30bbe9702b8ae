namespace zuvo
{

/** Parses a document that comes from outside (a file the user chose, a
    server's answer) with the framework's parser. Gives nullptr when the text
    is not well-formed XML, or when it holds what the parser does not take
    safely, none of which a document of ours holds:
    - more than maxTags tags: the parser and the tree built from its document
      recurse once per level of nesting, so a document nested some ten
      thousand levels deep would overflow the stack; counting every '<'
      bounds the depth;
    - a document type declaration: the entities it declares would expand into
      elements that the count does not see;
    - a processing instruction after the XML declaration: followed by text
      inside an element, it sends the parser into an endless loop;
    - "&<", which the parser takes for a reference to an unknown entity and
      then parses as elements, reading past the end of that text.
*/
std::unique_ptr<juce::XmlElement> parseUntrustedXml (const juce::String& text, int maxTags);

} // namespace zuvo
