#pragma once

namespace quillmere {

// The club's web site; every club link is this address followed by a path.
inline constexpr const char* ClubSiteAddress = "http://www.corvane-club.net";
// Where the update form posts.
inline constexpr const char* UpdateFormAddress = "http://updates.corvane-club.net/qs/updatesw.php";
// Packaged pages link to their programs as this prefix + "?sw=" + the program's file name.
inline constexpr const char* LaunchLinkPrefix = "http://launch.corvane-club.net/";
// The club's own name, used in its own copies and by an unmerged stub.
inline constexpr const char* kClubName = "Corvane";

}  // namespace quillmere
