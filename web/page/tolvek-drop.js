// What the visitor drops or picks, read into names and files: the items at the top of the drop,
// every file below a dropped folder with its path, and the folders themselves. Ordering and
// playlists are the module's business (web/host/web_list.cpp); this only reads what the browser
// hands over, within limits, so that a dropped home folder cannot take the page's memory.

export const limits = {files: 100000, folders: 20000};

// A drop's or a pick's contents: items (top-level names in order), files [{path, file}],
// folders [path], and what was left out.
function emptyHaul() {
  return {items: [], files: [], folders: [], unread: [], capped: false};
}

function readEntries(reader) {
  return new Promise((resolve, reject) => reader.readEntries(resolve, reject));
}

function entryFile(entry) {
  return new Promise((resolve, reject) => entry.file(resolve, reject));
}

async function walkEntry(entry, path, haul) {
  if (haul.files.length >= limits.files || haul.folders.length >= limits.folders) {
    haul.capped = true;
    return;
  }
  if (entry.isFile) {
    try {
      haul.files.push({path, file: await entryFile(entry)});
    } catch (e) {
      haul.unread.push(path);
    }
    return;
  }
  if (!entry.isDirectory) return;
  haul.folders.push(path);
  const reader = entry.createReader();
  for (;;) {
    let batch;
    try {
      batch = await readEntries(reader);
    } catch (e) {
      haul.unread.push(path);
      return;
    }
    if (batch.length === 0) return;
    for (const child of batch) {
      await walkEntry(child, `${path}/${child.name}`, haul);
      if (haul.capped) return;
    }
  }
}

// A drop: folders through the entries API where the browser offers it, plain files otherwise.
// The entries must be taken while the drop event lasts; reading them may take longer.
export function dropContents(dataTransfer) {
  const entries = [];
  const plain = [];
  const items = dataTransfer.items ? [...dataTransfer.items] : [];
  for (const item of items) {
    if (item.kind !== 'file') continue;
    const entry = item.webkitGetAsEntry ? item.webkitGetAsEntry() : null;
    if (entry) entries.push(entry);
    else {
      const file = item.getAsFile();
      if (file) plain.push(file);
    }
  }
  if (items.length === 0) plain.push(...(dataTransfer.files || []));
  return (async () => {
    const haul = emptyHaul();
    for (const entry of entries) {
      haul.items.push(entry.name);
      await walkEntry(entry, entry.name, haul);
      if (haul.capped) break;
    }
    for (const file of plain) {
      haul.items.push(file.name);
      haul.files.push({path: file.name, file});
    }
    return haul;
  })();
}

// Files from a file input: with a folder picked, each has its path below the folder.
export function pickedContents(fileList) {
  const haul = emptyHaul();
  const seen = new Set();
  for (const file of fileList) {
    const path = file.webkitRelativePath || file.name;
    const parts = path.split('/');
    if (!seen.has(parts[0])) {
      seen.add(parts[0]);
      haul.items.push(parts[0]);
    }
    for (let i = 1; i < parts.length; ++i) {
      const folder = parts.slice(0, i).join('/');
      if (!seen.has(folder + '/')) {
        seen.add(folder + '/');
        haul.folders.push(folder);
      }
    }
    if (haul.files.length >= limits.files) {
      haul.capped = true;
      break;
    }
    haul.files.push({path, file});
  }
  return haul;
}
