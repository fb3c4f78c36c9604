// An editable drop-down combo box after the WAI-ARIA combobox pattern with
// no automatic completion: a text field, a list button and a listbox. The
// keys are the desktop's: Alt+Down or F4 opens the list, arrows step
// through the entries (writing each into the field, open or not), Enter
// takes the entry, Esc closes the list and puts back what was typed.
// Typing never filters or completes.
mergeInto(LibraryManager.library, {
  // `openList` names the list button, which a reader hears with the
  // field's own name.
  $baud51Combobox: function(input, box, openList) {
    var list = document.createElement('ul');
    var button = document.createElement('button');
    var items = [];
    var active = -1;   // the entry shown as current, or -1
    var typed = '';    // the field's text when the list opened

    list.id = input.id + '-list';
    list.setAttribute('role', 'listbox');
    list.setAttribute('aria-labelledby', input.getAttribute('aria-labelledby'));
    list.hidden = true;
    input.setAttribute('role', 'combobox');
    input.setAttribute('aria-autocomplete', 'none');
    input.setAttribute('aria-expanded', 'false');
    input.setAttribute('aria-controls', list.id);
    input.autocomplete = 'off';
    input.spellcheck = false;
    button.type = 'button';
    button.tabIndex = -1;
    button.className = 'drop';
    button.id = input.id + '-drop';
    button.setAttribute('aria-label', openList);
    button.setAttribute('aria-labelledby',
                        button.id + ' ' + input.getAttribute('aria-labelledby'));
    button.setAttribute('aria-controls', list.id);
    button.setAttribute('aria-expanded', 'false');
    box.append(button, list);

    function isOpen() { return !list.hidden; }
    function setOpen(open) {
      list.hidden = !open;
      input.setAttribute('aria-expanded', String(open));
      button.setAttribute('aria-expanded', String(open));
      if (!open) input.removeAttribute('aria-activedescendant');
    }
    function mark(index) {
      active = index;
      items.forEach(function(item, i) {
        item.setAttribute('aria-selected', String(i === index));
      });
      if (index >= 0 && isOpen()) {
        input.setAttribute('aria-activedescendant', items[index].id);
        items[index].scrollIntoView({block: 'nearest'});
      } else {
        input.removeAttribute('aria-activedescendant');
      }
    }
    // The entry that is the field's text, so that the arrows go on from it.
    function matching() {
      for (var i = 0; i < items.length; ++i) {
        if (items[i].textContent === input.value) return i;
      }
      return -1;
    }
    function open() {
      typed = input.value;
      setOpen(true);
      mark(matching());
    }
    function close(restore) {
      if (restore) input.value = typed;
      setOpen(false);
    }
    function take(index) {
      input.value = items[index].textContent;
      mark(index);
    }
    function step(by) {
      if (items.length === 0) return;
      var from = isOpen() ? active : matching();
      var to = from < 0 ? (by > 0 ? 0 : items.length - 1) : from + by;
      if (to >= 0 && to < items.length) take(to);
    }

    input.addEventListener('keydown', function(event) {
      var key = event.key, handled = true;
      if ((event.altKey && key === 'ArrowDown') || key === 'F4') {
        isOpen() ? close(false) : open();
      } else if (event.altKey && key === 'ArrowUp') {
        if (isOpen()) close(false);
      } else if (key === 'ArrowDown' || key === 'ArrowUp') {
        step(key === 'ArrowDown' ? 1 : -1);
      } else if (key === 'Enter' && isOpen()) {
        close(false);
      } else if (key === 'Escape' && isOpen()) {
        close(true);
      } else {
        handled = false;
      }
      if (handled) event.preventDefault();
    });
    input.addEventListener('blur', function() { if (isOpen()) close(false); });
    // The list and its button never take the focus from the field.
    box.addEventListener('mousedown', function(event) {
      if (event.target !== input) event.preventDefault();
    });
    button.addEventListener('click', function() {
      isOpen() ? close(false) : open();
      input.focus();
    });
    list.addEventListener('click', function(event) {
      var index = items.indexOf(event.target);
      if (index < 0) return;
      take(index);
      close(false);
      input.focus();
    });

    input.baud51AddItem = function(text) {
      var item = document.createElement('li');
      item.id = list.id + '-' + items.length;
      item.setAttribute('role', 'option');
      item.setAttribute('aria-selected', 'false');
      item.textContent = text;
      items.push(item);
      list.append(item);
    };
  },
});
