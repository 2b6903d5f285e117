#pragma once

#include <string>
#include <vector>

/// A person from an address book as Rufwacht uses it: a name, the numbers it goes by and a
/// picture.
struct Contact {
    std::string name;
    std::vector<std::string> numbers;
    /// The picture's bytes when the card holds it inline, with its type ("jpeg", "png").
    std::string photoData;
    std::string photoType;
    /// A picture the card only points at.
    std::string photoUri;
    /// Where the picture was saved for the pop-up; filled by whoever saves it.
    std::string picturePath;
};

/// What a parser made of an address book: the contacts it could read, and one line of text per
/// card or entry that it had to skip (with the line it stands in).
struct ContactsRead {
    std::vector<Contact> contacts;
    std::vector<std::string> problems;
};
