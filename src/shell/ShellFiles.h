#pragma once

// Names of the files the program keeps beside itself and in its storage folder.
namespace ShellFiles {

inline constexpr char Settings[] = "Vaulto.ini";
inline constexpr char SavePath[] = "SavePath.ini";
inline constexpr char Instance[] = "Mutex.ini";
inline constexpr char Installation[] = "Installation.ini";
inline constexpr char Languages[] = "Languages.ini";
inline constexpr char License[] = "License.txt";
inline constexpr char ReadMe[] = "ReadMe.txt";

} // namespace ShellFiles
